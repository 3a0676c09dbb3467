#include "services/x11/alwaysontop_x11.h"

#include <utility>

#include "capture/x11/xcb_x11.h"

namespace skl {

void X11TopmostBand::setTopmost(WindowHandle window, bool topmost) {
    if (!shown_ || window == 0) {
        pending_ = topmost;
        return;
    }
    askToStayAbove(x_, static_cast<xcb_window_t>(window), topmost);
    xcb_flush(x_.get());
}

void X11TopmostBand::windowShown(WindowHandle window) {
    shown_ = true;
    if (const auto wanted = std::exchange(pending_, std::nullopt)) setTopmost(window, *wanted);
}

}  // namespace skl
