#include "capture/Checked.h"
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
    placement.normalPosition = {record.rcNormalPosition.left, record.rcNormalPosition.top,
                                record.rcNormalPosition.right, record.rcNormalPosition.bottom};
    return true;
}

namespace {
double twipsPerPixel(int axis) {
    const WindowDc screen(nullptr);
    return twipsPerPixelAt(screen ? GetDeviceCaps(screen.get(), axis) : 0);
}
}  // namespace

double Win32ScreenMetrics::twipsPerPixelX() { return twipsPerPixel(LOGPIXELSX); }
double Win32ScreenMetrics::twipsPerPixelY() { return twipsPerPixel(LOGPIXELSY); }

}  // namespace skl
