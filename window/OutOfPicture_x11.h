#pragma once
// Gets the main window out of the picture for a grab and back again. Away from
// the grab rectangle the window manager is asked straight to minimise the window,
// and to bring it back. Where the window covers the rectangle it is withdrawn
// instead (the window toolkit hides it), so that it leaves the screen at once
// rather than through the window manager's minimise animation, which slides the
// title bar across the screen for a good part of a second; the grab then waits
// until the window's frame is off the screen and the screen there shows what lies
// beneath. The toolkit shows it again, with its states.

#include <functional>
#include <optional>

#include "capture/ClearWait.h"
#include "capture/desktop_x11.h"

namespace skl {

class X11OutOfPicture {
public:
    X11OutOfPicture(const XcbConnection& connection, WindowLookup& windows, ScreenGrabber& grabber, Clock& clock)
        : x_(connection), windows_(windows), grabber_(grabber), clock_(clock) {}

    // withdraw: the toolkit's hiding of the window.
    void minimise(WindowHandle window, const ScreenRect& keepClear, const std::function<void()>& withdraw);
    void waitUntilClear();
    // show: the toolkit's showing of the window, active and with its states.
    void restore(WindowHandle window, const std::function<void()>& show);

private:
    // The window's outermost ancestor below the root: the window manager's frame
    // around it, or the window itself when it has none.
    xcb_window_t frameOf(WindowHandle window) const;
    // Whether the window shows on the screen.
    bool isViewable(xcb_window_t window) const;
    // Messages to the window manager about one of its client windows.
    void tellWindowManager(xcb_window_t window, xcb_atom_t message, std::uint32_t first);

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
    // The window was withdrawn rather than minimised.
    bool withdrawn_ = false;
};

}  // namespace skl
