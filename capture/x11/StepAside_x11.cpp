#include "capture/x11/StepAside_x11.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "capture/x11/frame_x11.h"
#include "capture/x11/xcb_x11.h"

namespace skl {
namespace {

// WM_STATE and WM_CHANGE_STATE values.
constexpr std::uint32_t normalState = 1;
constexpr std::uint32_t iconicState = 3;
// WM_NORMAL_HINTS: flags first, then the obsolete place (x, y), ..., the window's
// gravity the eighteenth value.
constexpr std::uint32_t normalHintsLength = 18;
constexpr std::size_t hintedX = 1;
constexpr std::size_t hintedY = 2;
constexpr std::size_t hintedGravity = 17;
constexpr std::uint32_t gravityGiven = 1u << 9;
constexpr std::uint32_t staticGravityValue = 10;

}  // namespace

StepAsideStart X11StepAsideWindow::observe() {
    if (window_ == XCB_WINDOW_NONE || !x_.connected()) return {};
    xcb_connection_t* const connection = x_.get();
    // What the snapshot needs besides the frame goes out with its first requests.
    const auto compositorCookie = xcb_get_selection_owner(connection, x_.atoms().netWmCmScreen);
    const auto stateCookie = requestNetWmState();
    const auto attributesCookie = xcb_get_window_attributes(connection, window_);
    const auto compositor = replyTo<xcb_get_selection_owner_reply>(connection, compositorCookie);
    const auto states = x_.propertyUnits(stateCookie);
    const auto attributes = replyTo<xcb_get_window_attributes_reply>(connection, attributesCookie);
    StepAsideStart start;
    start.composited = compositor && compositor->owner != XCB_WINDOW_NONE;
    start.above = namesAbove(states);
    if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE) start.frame = outerFrameOf(x_, window_);
    return start;
}

std::optional<ScreenRect> X11StepAsideWindow::outerFrame() {
    if (window_ == XCB_WINDOW_NONE || !isViewable(x_, window_)) return std::nullopt;
    return outerFrameOf(x_, window_);
}

void X11StepAsideWindow::leave(Leaving how, const StepAsideStart& start) {
    left_ = how;
    askedToActivate_ = false;
    frame_ = topLevelAncestor(x_, window_).value_or(window_);
    leftClientCorner_ = clientCorner();
    if (how == Leaving::Minimise) {
        x_.tellWindowManager(window_, x_.atoms().wmChangeState, {iconicState, 0, 0, 0, 0});
    } else {
        // A compositor fades a window that goes away out of sight over some frames;
        // one that is made transparent first is gone from its next frame.
        if (start.composited) {
            const std::uint32_t transparent = 0;
            xcb_change_property(x_.get(), XCB_PROP_MODE_REPLACE, window_, x_.atoms().netWmWindowOpacity,
                                XCB_ATOM_CARDINAL, 32, 1, &transparent);
        }
        // Withdrawn: unmapped, and the window manager told so (a synthetic unmap), so
        // that it takes the frame away at once, without a minimise animation.
        xcb_unmap_window(x_.get(), window_);
        xcb_unmap_notify_event_t event{};
        event.response_type = XCB_UNMAP_NOTIFY;
        event.event = x_.root();
        event.window = window_;
        xcb_send_event(x_.get(), 0, x_.root(),
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&event));
    }
    xcb_flush(x_.get());
}

bool X11StepAsideWindow::hasLeft() {
    // Minimised, the window manager's word is its state: a compositing one keeps a
    // minimised window mapped. A frame that is gone (BadWindow) shows nothing.
    if (left_ == Leaving::Minimise && hasWmState(iconicState, false)) return true;
    return !isViewable(x_, frame_) && !isViewable(x_, window_);
}

bool X11StepAsideWindow::hasWmState(std::uint32_t state, bool withoutWindowManager) const {
    const auto values = x_.propertyUnits(window_, x_.atoms().wmState, x_.atoms().wmState, 1);
    return !values || values->empty() ? withoutWindowManager : values->front() == state;
}

bool X11StepAsideWindow::namesAbove(const std::optional<std::vector<std::uint32_t>>& netWmState) const {
    return netWmState && std::ranges::find(*netWmState, x_.atoms().netWmStateAbove) != netWmState->end();
}

bool X11StepAsideWindow::isAbove() const {
    return namesAbove(x_.propertyUnits(requestNetWmState()));
}

UnitsRequest X11StepAsideWindow::requestNetWmState() const {
    return x_.requestPropertyUnits(window_, x_.atoms().netWmState, XCB_ATOM_ATOM, 64);
}

std::optional<ScreenPoint> X11StepAsideWindow::clientCorner() const {
    const auto corner =
        replyTo<xcb_translate_coordinates_reply>(x_.get(), xcb_translate_coordinates(x_.get(), window_, x_.root(), 0, 0));
    if (!corner) return std::nullopt;
    return ScreenPoint{corner->dst_x, corner->dst_y};
}

std::vector<std::uint32_t> X11StepAsideWindow::normalHints() const {
    return x_.propertyUnits(window_, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS, normalHintsLength)
        .value_or(std::vector<std::uint32_t>{});
}

void X11StepAsideWindow::moveFrameTo(const ScreenRect& frame, bool managed) {
    std::vector<std::uint32_t> hints = normalHints();
    const bool staticGravity = hints.size() == normalHintsLength && (hints[0] & gravityGiven) &&
                               hints[hintedGravity] == staticGravityValue;
    // Window managers read the corner a window asks for by its gravity: with
    // static gravity as the client's own corner, else as the frame's.
    std::optional<ScreenPoint> corner = ScreenPoint{frame.left, frame.top};
    if (staticGravity) {
        if (!managed) {
            corner = leftClientCorner_;
        } else if (const auto now = outerFrameOf(x_, window_); now && (corner = clientCorner())) {
            corner->x += frame.left - now->left;
            corner->y += frame.top - now->top;
        }
    }
    if (!corner) return;
    const std::uint32_t values[] = {static_cast<std::uint32_t>(corner->x), static_cast<std::uint32_t>(corner->y)};
    if (!managed && hints.size() == normalHintsLength) {
        // The place in the size hints is obsolete, yet a window manager that finds
        // one given there (i3) puts a window mapped anew at it rather than where
        // the window lies: there it is the same corner, not the one the window
        // was first shown at.
        hints[hintedX] = values[0];
        hints[hintedY] = values[1];
        xcb_change_property(x_.get(), XCB_PROP_MODE_REPLACE, window_, XCB_ATOM_WM_NORMAL_HINTS,
                            XCB_ATOM_WM_SIZE_HINTS, 32, normalHintsLength, hints.data());
    }
    xcb_configure_window(x_.get(), window_, XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, values);
}

void X11StepAsideWindow::comeBack(const StepAsideStart& start) {
    if (window_ == XCB_WINDOW_NONE || !x_.connected()) return;
    const std::optional<ScreenRect>& frame = start.frame;
    xcb_delete_property(x_.get(), window_, x_.atoms().netWmWindowOpacity);
    if (!isViewable(x_, window_)) {
        // A withdrawn window is mapped anew, and window managers place a new window
        // where it lies: at the frame's old corner, not the client's.
        if (left_ == Leaving::AtOnce && frame) moveFrameTo(*frame, false);
        // Mapped again, a minimised window returns to the screen.
        xcb_map_window(x_.get(), window_);
    } else if (askedToActivate_ && left_ == Leaving::Minimise && hasWmState(iconicState, false)) {
        // Asked once to activate it, the window manager kept the window minimised
        // (mutter does so to XWayland's windows in a Wayland session): withdrawn
        // and mapped anew, it shows again.
        xcb_unmap_window(x_.get(), window_);
        if (frame) moveFrameTo(*frame, false);
        xcb_map_window(x_.get(), window_);
    } else if (frame && outerFrameOf(x_, window_) != frame) {
        moveFrameTo(*frame, true);
    }
    // The first time with the time of the click that started the snapshot. A window
    // manager that prevents focus stealing refuses that once the user has clicked
    // elsewhere meanwhile (the window was away): asked again, with the time now.
    const std::uint32_t time = std::exchange(askedToActivate_, true) ? x_.serverTime(window_) : userTime_;
    x_.tellWindowManager(window_, x_.atoms().netActiveWindow, {fromAnApplication, time, 0, 0, 0});
    // A withdrawn window's states are the window manager's no more: On Top is asked
    // for again, now that the window is mapped.
    if (start.above) askToStayAbove(x_, window_, true);
    xcb_flush(x_.get());
}

bool X11StepAsideWindow::isBack(const StepAsideStart& start) {
    if (window_ == XCB_WINDOW_NONE || !x_.connected()) return true;
    if (!isViewable(x_, window_) || !hasWmState(normalState, true)) return false;
    if (start.above && !isAbove()) return false;
    return !start.frame || outerFrameOf(x_, window_) == start.frame;
}

}  // namespace skl
