#include "capture/x11/desktop_x11.h"
#include "capture/x11/frame_x11.h"

namespace skl {

std::optional<ScreenPoint> X11WindowLookup::restoredCorner(WindowHandle window) {
    if (window <= 0) return std::nullopt;
    const auto frame = outerFrameOf(x_, static_cast<xcb_window_t>(window));
    if (!frame) return std::nullopt;
    return ScreenPoint{frame->left, frame->top};
}

}  // namespace skl
