#include "capture/x11/above_state_x11.h"

namespace skl {
namespace {

// _NET_WM_STATE actions.
constexpr std::uint32_t removeState = 0;
constexpr std::uint32_t addState = 1;

}  // namespace

void askToStayAbove(const XcbConnection& x, xcb_window_t window, bool above) {
    x.tellWindowManager(window, x.atoms().netWmState,
                        {above ? addState : removeState, x.atoms().netWmStateAbove, 0, fromAnApplication, 0});
}

}  // namespace skl
