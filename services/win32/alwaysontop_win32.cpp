#include "services/win32/services_win32.h"

#include "capture/win32/system_win32.h"

namespace skl {

void Win32TopmostBand::setTopmost(WindowHandle window, bool topmost) {
    SetWindowPos(toHwnd(window), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

}  // namespace skl
