#include "capture/Checked.h"
#include "capture/Workspace.h"
#include "capture/desktop_win32.h"

namespace skl {

WindowHandle Win32WindowLookup::findWindow(const Text& title) {
    return toWindowHandle(FindWindowW(nullptr, title.c_str()));
}

bool Win32WindowLookup::readPlacement(WindowHandle window, WindowPlacement& placement) {
    WINDOWPLACEMENT record{};
    record.length = static_cast<UINT>(placement.length);
    if (!GetWindowPlacement(toHwnd(window), &record)) return false;
    placement.flags = static_cast<std::int32_t>(record.flags);
    placement.showCmd = static_cast<std::int32_t>(record.showCmd);
    placement.minPosition = {record.ptMinPosition.x, record.ptMinPosition.y};
    placement.maxPosition = {record.ptMaxPosition.x, record.ptMaxPosition.y};
    const RECT& normal = record.rcNormalPosition;
    placement.normalPosition = {normal.left, normal.top, normal.right, normal.bottom};
    // Tool windows have theirs in screen coordinates already; other windows in the
    // work area's, on the monitor the window is (or, minimised, was) on.
    if (!(GetWindowLongW(toHwnd(window), GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) {
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        if (GetMonitorInfoW(MonitorFromWindow(toHwnd(window), MONITOR_DEFAULTTONEAREST), &monitor)) {
            const RECT& whole = monitor.rcMonitor;
            const RECT& work = monitor.rcWork;
            placement.normalPosition = workspaceToScreen(placement.normalPosition,
                                                         {whole.left, whole.top, whole.right, whole.bottom},
                                                         {work.left, work.top, work.right, work.bottom});
        }
    }
    return true;
}

namespace {
int screenDotsPerInch(int axis) {
    const WindowDc screen(nullptr);
    return screen ? GetDeviceCaps(screen.get(), axis) : 0;
}

double twipsPerPixel(int axis) {
    return twipsPerPixelAt(screenDotsPerInch(axis));
}
}  // namespace

Win32WindowLookup::DpiForWindow Win32WindowLookup::dpiForWindowLookup() {
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    if (!user32) return nullptr;
    // Through a function pointer without parameters, the one type every function
    // pointer may be cast from and back to.
    using AnyFunction = void (*)();
    return reinterpret_cast<DpiForWindow>(reinterpret_cast<AnyFunction>(GetProcAddress(user32, "GetDpiForWindow")));
}

std::optional<double> Win32WindowLookup::pixelScale(WindowHandle window) {
    const UINT own = dpiForWindow_ ? dpiForWindow_(toHwnd(window)) : 0;
    const int screen = screenDotsPerInch(LOGPIXELSX);
    if (own == 0 || screen <= 0) return std::nullopt;
    return static_cast<double>(screen) / own;
}

double Win32ScreenMetrics::twipsPerPixelX() { return twipsPerPixel(LOGPIXELSX); }
double Win32ScreenMetrics::twipsPerPixelY() { return twipsPerPixel(LOGPIXELSY); }

}  // namespace skl
