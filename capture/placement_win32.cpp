#include "capture/desktop_win32.h"
#include "capture/metrics_win32.h"

namespace skl {

ScreenRect workspaceToScreen(const ScreenRect& rect, const ScreenRect& monitor, const ScreenRect& workArea) {
    const std::int64_t dx = std::int64_t{workArea.left} - monitor.left;
    const std::int64_t dy = std::int64_t{workArea.top} - monitor.top;
    // Monitors and their work areas lie within the 16-bit coordinates of the
    // desktop, so the shift always fits.
    return {static_cast<std::int32_t>(rect.left + dx), static_cast<std::int32_t>(rect.top + dy),
            static_cast<std::int32_t>(rect.right + dx), static_cast<std::int32_t>(rect.bottom + dy)};
}

WindowHandle Win32WindowLookup::findWindow(const Text& title) {
    return toWindowHandle(FindWindowW(nullptr, title.c_str()));
}

std::optional<ScreenPoint> Win32WindowLookup::restoredCorner(WindowHandle window) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(toHwnd(window), &placement)) return std::nullopt;
    const RECT& normal = placement.rcNormalPosition;
    ScreenRect restored{normal.left, normal.top, normal.right, normal.bottom};
    // Tool windows have theirs in screen coordinates already; other windows in the
    // work area's, on the monitor the window is (or, minimised, was) on.
    if (!(GetWindowLongW(toHwnd(window), GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) {
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        if (GetMonitorInfoW(MonitorFromWindow(toHwnd(window), MONITOR_DEFAULTTONEAREST), &monitor)) {
            const RECT& whole = monitor.rcMonitor;
            const RECT& work = monitor.rcWork;
            restored = workspaceToScreen(restored, {whole.left, whole.top, whole.right, whole.bottom},
                                         {work.left, work.top, work.right, work.bottom});
        }
    }
    return ScreenPoint{restored.left, restored.top};
}

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

}  // namespace skl
