#pragma once
// The main window getting out of the picture and back on X11, through the window
// manager's protocols on a connection of the program's own: minimised with
// WM_CHANGE_STATE, taken off the screen at once by withdrawing it, brought back
// by mapping it and asking the window manager to activate it, with the time of
// the click that started the snapshot.

#include <cstdint>
#include <optional>
#include <vector>

#include "capture/StepAside.h"
#include "capture/x11/xcb_x11.h"

namespace skl {

class X11StepAsideWindow final : public StepAsideWindow {
public:
    explicit X11StepAsideWindow(const XcbConnection& connection) : x_(connection) {}

    // The main window's X window, once it exists.
    void setWindow(WindowHandle window) { window_ = static_cast<xcb_window_t>(window); }
    WindowHandle window() const { return static_cast<WindowHandle>(window_); }
    // The X server time of the latest input to the window: the click that starts a
    // snapshot, which the window manager's focus rules weigh.
    void noteUserTime(std::uint32_t time) { userTime_ = time; }

    StepAsideStart observe() override;
    std::optional<ScreenRect> outerFrame() override;
    void leave(Leaving how, const StepAsideStart& start) override;
    bool hasLeft() override;
    bool awaitComposedFrame() override { return false; }
    void comeBack(const StepAsideStart& start) override;
    bool isBack(const StepAsideStart& start) override;

private:
    // Whether the window is in the window manager's state `state` (WM_STATE); where
    // it has none (no window manager runs), withoutWindowManager.
    bool hasWmState(std::uint32_t state, bool withoutWindowManager) const;
    // The window's _NET_WM_STATE, and whether it (as read) names _NET_WM_STATE_ABOVE.
    UnitsRequest requestNetWmState() const;
    bool namesAbove(const std::optional<std::vector<std::uint32_t>>& netWmState) const;
    bool isAbove() const;
    // Asks for the window's frame at the frame's corner; a withdrawn window is no
    // longer managed and goes where it is put, to be placed anew when it is mapped.
    void moveFrameTo(const ScreenRect& frame, bool managed);
    std::optional<ScreenPoint> clientCorner() const;
    // The values of WM_NORMAL_HINTS; none where the window has none.
    std::vector<std::uint32_t> normalHints() const;

    const XcbConnection& x_;
    xcb_window_t window_ = XCB_WINDOW_NONE;
    std::uint32_t userTime_ = XCB_CURRENT_TIME;
    // The window manager's frame the window left from, and how it left.
    xcb_window_t frame_ = XCB_WINDOW_NONE;
    std::optional<Leaving> left_;
    std::optional<ScreenPoint> leftClientCorner_;
    bool askedToActivate_ = false;
};

}  // namespace skl
