#include "capture/win32/desktop_win32.h"

#include <windows.h>

#include "capture/Checked.h"
#include "capture/win32/system_win32.h"

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

namespace {

// The window's restored frame in the calling thread's coordinates.
std::optional<ScreenRect> restoredFrame(HWND window) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(window, &placement)) return std::nullopt;
    const RECT& normal = placement.rcNormalPosition;
    const ScreenRect restored{normal.left, normal.top, normal.right, normal.bottom};
    // Tool windows have theirs in screen coordinates already; other windows in the
    // work area's, on the monitor the window is (or, minimised, was) on.
    if (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) return restored;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) return restored;
    const RECT& whole = monitor.rcMonitor;
    const RECT& work = monitor.rcWork;
    return workspaceToScreen(restored, {whole.left, whole.top, whole.right, whole.bottom},
                             {work.left, work.top, work.right, work.bottom});
}

// The calling thread works in a window's coordinates for as long as it lives.
class ThreadCoordinatesOf {
public:
    ThreadCoordinatesOf(const WindowResolutionCalls& calls, HWND window)
        : calls_(calls), previous_(calls.setThreadContext(calls.windowContext(window))) {}
    ~ThreadCoordinatesOf() {
        if (previous_) calls_.setThreadContext(previous_);
    }
    ThreadCoordinatesOf(const ThreadCoordinatesOf&) = delete;
    ThreadCoordinatesOf& operator=(const ThreadCoordinatesOf&) = delete;
    explicit operator bool() const { return previous_ != nullptr; }

private:
    const WindowResolutionCalls& calls_;
    DPI_AWARENESS_CONTEXT previous_;
};

std::optional<ScreenPoint> mappedToScreen(const WindowResolutionCalls& calls, HWND window, ScreenPoint point) {
    POINT mapped{point.x, point.y};
    if (!calls.logicalToPhysical || !calls.logicalToPhysical(window, &mapped)) return std::nullopt;
    return ScreenPoint{mapped.x, mapped.y};
}

}  // namespace

WindowResolutionCalls WindowResolutionCalls::ofThisSystem() {
    return {loadedSystemFunction<WindowContext>(L"user32.dll", "GetWindowDpiAwarenessContext"),
            loadedSystemFunction<SetThreadContext>(L"user32.dll", "SetThreadDpiAwarenessContext"),
            loadedSystemFunction<MapPoint>(L"user32.dll", "LogicalToPhysicalPointForPerMonitorDPI")};
}

std::optional<ViewerFrame> Win32WindowLookup::viewerFrame(HWND window) const {
    const std::optional<ScreenRect> ours = restoredFrame(window);
    if (!ours) return std::nullopt;
    FrameReadings readings{*ours, std::nullopt, std::nullopt, std::nullopt};
    if (calls_.windowContext && calls_.setThreadContext) {
        const ThreadCoordinatesOf itsOwn(calls_, window);
        if (itsOwn) readings.own = restoredFrame(window);
    }
    if (readings.own) {
        const ScreenRect& own = *readings.own;
        readings.mappedCorner = mappedToScreen(calls_, window, {own.left, own.top});
        readings.mappedLastPixel = mappedToScreen(calls_, window, {own.right - 1, own.bottom - 1});
    }
    return viewerFrameOf(readings);
}

std::optional<ScreenPoint> Win32WindowLookup::restoredCorner(WindowHandle window) {
    const std::optional<ViewerFrame> frame = viewerFrame(toHwnd(window));
    if (!frame) return std::nullopt;
    return frame->corner;
}

std::optional<double> Win32WindowLookup::pixelScale(WindowHandle window) {
    const std::optional<ViewerFrame> frame = viewerFrame(toHwnd(window));
    if (!frame) return std::nullopt;
    return frame->scale;
}

int screenDotsPerInch(int axis) {
    const WindowDc screen(nullptr);
    return screen ? GetDeviceCaps(screen.get(), axis) : 0;
}

double Win32ScreenMetrics::twipsPerPixelX() { return twipsPerPixelAt(screenDotsPerInch(LOGPIXELSX)); }
double Win32ScreenMetrics::twipsPerPixelY() { return twipsPerPixelAt(screenDotsPerInch(LOGPIXELSY)); }

}  // namespace skl
