#include "window/OutOfPicture_x11.h"

#include <algorithm>
#include <utility>

namespace skl {
namespace {

constexpr std::uint32_t iconicState = 3;          // WM_CHANGE_STATE: minimise
constexpr std::uint32_t fromAnApplication = 1;    // _NET_ACTIVE_WINDOW's source indication

std::optional<ScreenRect> intersection(const ScreenRect& a, const ScreenRect& b) {
    const ScreenRect both{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                          std::min(a.bottom, b.bottom)};
    if (both.left >= both.right || both.top >= both.bottom) return std::nullopt;
    return both;
}

}  // namespace

void X11OutOfPicture::minimise(WindowHandle window, const ScreenRect& keepClear,
                               const std::function<void()>& withdraw) {
    covered_.reset();
    // The frame is looked up only where the window covers the area: away from it
    // (the usual case) the snapshot spares those round trips.
    WindowPlacement own;
    if (windows_.readPlacement(window, own)) {
        if (const auto area = intersection(own.normalPosition, keepClear)) {
            const xcb_window_t frame = frameOf(window);
            // How the window looks there, to tell when it has gone from the screen.
            if (isViewable(frame)) {
                if (auto pixels = grabber_.grab(*area, DisplayForm::NoDevice)) {
                    covered_.emplace(frame, *area, ClearRule(pixels->picture(), clock_.monotonicMilliseconds()));
                }
            }
        }
    }
    withdrawn_ = covered_.has_value();
    if (withdrawn_) {
        withdraw();
    } else {
        tellWindowManager(static_cast<xcb_window_t>(window), x_.atoms().wmChangeState, iconicState);
    }
}

void X11OutOfPicture::waitUntilClear() {
    if (covered_) {
        const xcb_window_t frame = covered_->frame;
        waitUntilAreaClear(covered_->area, covered_->rule, grabber_, clock_, [this, frame] { return !isViewable(frame); });
    }
    covered_.reset();
}

void X11OutOfPicture::restore(WindowHandle window, const std::function<void()>& show) {
    if (std::exchange(withdrawn_, false)) {
        show();
        return;
    }
    // Mapped again, a minimised window returns to the screen; asked to, the
    // window manager makes it the active window too.
    xcb_map_window(x_.get(), static_cast<xcb_window_t>(window));
    tellWindowManager(static_cast<xcb_window_t>(window), x_.atoms().netActiveWindow, fromAnApplication);
}

void X11OutOfPicture::tellWindowManager(xcb_window_t window, xcb_atom_t message, std::uint32_t first) {
    if (!x_.connected()) return;
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = message;
    event.data.data32[0] = first;
    xcb_send_event(x_.get(), 0, x_.root(),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(x_.get());
}

xcb_window_t X11OutOfPicture::frameOf(WindowHandle window) const {
    auto current = static_cast<xcb_window_t>(window);
    // Frames nest a few levels deep at most; the bound keeps a broken tree from looping.
    for (int level = 0; level < 8 && x_.connected(); ++level) {
        const auto tree = replyTo<xcb_query_tree_reply>(x_.get(), xcb_query_tree(x_.get(), current));
        if (!tree || tree->parent == tree->root || tree->parent == XCB_WINDOW_NONE) break;
        current = tree->parent;
    }
    return current;
}

bool X11OutOfPicture::isViewable(xcb_window_t window) const {
    if (!x_.connected()) return false;
    const auto attributes =
        replyTo<xcb_get_window_attributes_reply>(x_.get(), xcb_get_window_attributes(x_.get(), window));
    return attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
}

}  // namespace skl
