#include "capture/desktop_x11.h"
#include "capture/frame_x11.h"

namespace skl {

bool X11WindowLookup::readPlacement(WindowHandle window, WindowPlacement& placement) {
    if (window <= 0) return false;
    const auto frame = outerFrameOf(x_, static_cast<xcb_window_t>(window));
    if (!frame) return false;
    placement.normalPosition = *frame;
    return true;
}

}  // namespace skl
