#include "window/win32/shell_win32.h"

#include <windows.h>
#include <shellapi.h>

namespace skl {

void Win32Shell::openAddress(const Text& address) {
    ShellExecuteW(nullptr, L"Open", address.c_str(), L"", L"", SW_SHOWNORMAL);
}

}  // namespace skl
