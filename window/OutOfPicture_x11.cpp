#include "window/OutOfPicture_x11.h"

#include <algorithm>

namespace skl {
namespace {

std::optional<ScreenRect> intersection(const ScreenRect& a, const ScreenRect& b) {
    const ScreenRect both{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                          std::min(a.bottom, b.bottom)};
    if (both.left >= both.right || both.top >= both.bottom) return std::nullopt;
    return both;
}

}  // namespace

void X11OutOfPicture::minimise(WindowHandle window, const ScreenRect& keepClear,
                               const std::function<void()>& askToMinimise) {
    covered_.reset();
    const xcb_window_t frame = frameOf(window);
    WindowPlacement own;
    if (isViewable(frame) && windows_.readPlacement(window, own)) {
        if (const auto area = intersection(own.normalPosition, keepClear)) {
            // How the window looks there, to tell when it has gone from the screen.
            if (auto pixels = grabber_.grab(*area, DisplayForm::NoDevice)) {
                covered_.emplace(frame, *area, ClearRule(pixels->picture(), clock_.monotonicMilliseconds()));
            }
        }
    }
    askToMinimise();
}

void X11OutOfPicture::waitUntilClear() {
    if (covered_) {
        const xcb_window_t frame = covered_->frame;
        waitUntilAreaClear(covered_->area, covered_->rule, grabber_, clock_, [this, frame] { return !isViewable(frame); });
    }
    covered_.reset();
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
