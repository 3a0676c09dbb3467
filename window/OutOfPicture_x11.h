#pragma once
// Gets the main window out of the picture for a grab, through the window manager:
// the window toolkit asks it to minimise the window (and later to bring it back).
// Where the window covers the grab rectangle, the grab waits until the window
// manager has taken the window's frame off the screen (after its minimise
// animation, which may leave the title bar on the screen after the window itself
// has gone) and the screen there shows what lies beneath.

#include <functional>
#include <optional>

#include "capture/ClearWait.h"
#include "capture/desktop_x11.h"

namespace skl {

class X11OutOfPicture {
public:
    X11OutOfPicture(const XcbConnection& connection, WindowLookup& windows, ScreenGrabber& grabber, Clock& clock)
        : x_(connection), windows_(windows), grabber_(grabber), clock_(clock) {}

    // askToMinimise: the toolkit's request to the window manager.
    void minimise(WindowHandle window, const ScreenRect& keepClear, const std::function<void()>& askToMinimise);
    void waitUntilClear();

private:
    // The window's outermost ancestor below the root: the window manager's frame
    // around it, or the window itself when it has none.
    xcb_window_t frameOf(WindowHandle window) const;
    // Whether the window shows on the screen.
    bool isViewable(xcb_window_t window) const;

    const XcbConnection& x_;
    WindowLookup& windows_;
    ScreenGrabber& grabber_;
    Clock& clock_;
    // The part of the grab rectangle the window covered, while it is leaving it.
    struct Covered {
        xcb_window_t frame;
        ScreenRect area;
        ClearRule rule;
    };
    std::optional<Covered> covered_;
};

}  // namespace skl
