#pragma once
// The capture's platform interfaces on sway: other programs' windows, native
// Wayland and X11 ones alike, found through the compositor's IPC, and the screen
// copied through its screen-copy protocol.

#include "capture/Ports.h"
#include "capture/sway/ipc_sway.h"
#include "capture/sway/screencopy_sway.h"

namespace skl {

// Views by their exact title; a window handle is the view's container id.
class SwayWindowLookup final : public WindowLookup {
public:
    explicit SwayWindowLookup(SwayIpc& ipc) : ipc_(ipc) {}
    WindowHandle findWindow(const Text& title) override;
    // The corner of the view's outer frame (title bar and borders included), in
    // the layout's logical coordinates.
    std::optional<ScreenPoint> restoredCorner(WindowHandle window) override;
    // Windows and grabs share the layout's logical coordinates, whatever each
    // output's scale: the grab brings a scaled output's pixels down to them.
    std::optional<double> pixelScale(WindowHandle) override { return std::nullopt; }
    // sway lists every program's windows.
    Text hiddenWindowsAdvice() override { return {}; }

private:
    SwayIpc& ipc_;
};

// Copies the screen as the outputs show it, our window included where it lies:
// the parts of the rectangle on each output, black where no output is.
class SwayScreenGrabber final : public ScreenGrabber {
public:
    explicit SwayScreenGrabber(SwayIpc& ipc) : ipc_(ipc) {}
    GrabResult grab(const ScreenRect& rect) override;
    GrabResult grabViewer(WindowHandle, const ScreenRect& rect) override { return grab(rect); }
    bool readsViewersOwnPicture() const override { return false; }
    std::unique_ptr<GrabbedBitmap> bitmapOf(Picture picture) override;

private:
    SwayIpc& ipc_;
    WaylandScreenCopy copier_;
};

}  // namespace skl
