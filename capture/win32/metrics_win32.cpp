#include "capture/win32/metrics_win32.h"

#include <windows.h>

#include "capture/Checked.h"
#include "capture/win32/handles_win32.h"

namespace skl {

int screenDotsPerInch(int axis) {
    const WindowDc screen(nullptr);
    return screen ? GetDeviceCaps(screen.get(), axis) : 0;
}

double Win32ScreenMetrics::twipsPerPixelX() { return twipsPerPixelAt(screenDotsPerInch(LOGPIXELSX)); }
double Win32ScreenMetrics::twipsPerPixelY() { return twipsPerPixelAt(screenDotsPerInch(LOGPIXELSY)); }

}  // namespace skl
