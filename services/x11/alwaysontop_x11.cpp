#include "services/x11/alwaysontop_x11.h"

#include <utility>

namespace skl {
namespace {

// _NET_WM_STATE actions, and its source indication: a request from an application.
constexpr std::uint32_t removeState = 0;
constexpr std::uint32_t addState = 1;
constexpr std::uint32_t fromAnApplication = 1;

}  // namespace

void X11TopmostBand::setTopmost(WindowHandle window, bool topmost) {
    if (!shown_ || window == 0) {
        pending_ = topmost;
        return;
    }
    x_.tellWindowManager(static_cast<xcb_window_t>(window), x_.atoms().netWmState,
                         {topmost ? addState : removeState, x_.atoms().netWmStateAbove, 0, fromAnApplication, 0});
    xcb_flush(x_.get());
}

void X11TopmostBand::windowShown(WindowHandle window) {
    shown_ = true;
    if (const auto wanted = std::exchange(pending_, std::nullopt)) setTopmost(window, *wanted);
}

}  // namespace skl
