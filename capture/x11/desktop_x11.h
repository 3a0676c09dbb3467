#pragma once
// The X11 implementations of the capture's platform interfaces that need the
// display: finding another program's window, reading where it lies, and copying
// the screen. They share one xcb connection of the program's own.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "capture/Ports.h"
#include "capture/x11/xcb_x11.h"

struct _XDisplay;  // Xlib's Display

namespace skl {

// Closes an Xlib display connection.
struct XlibDisplayCloser {
    void operator()(_XDisplay* display) const noexcept;
};

// Finds top-level windows by their title (_NET_WM_NAME, else WM_NAME) and reads
// the corner of their outer frame. Window ids are X window ids, which use at most
// 29 bits and so fit a WindowHandle.
class X11WindowLookup final : public WindowLookup {
public:
    // hiddenAdvice: what the user should know where the session keeps other windows
    // than X11 ones from the program (a Wayland session's XWayland).
    explicit X11WindowLookup(const XcbConnection& connection, Text hiddenAdvice = {});
    ~X11WindowLookup() override;
    WindowHandle findWindow(const Text& title) override;
    // The corner of the outer frame in root pixels, decorations included; X keeps a
    // minimised window's frame where it was.
    std::optional<ScreenPoint> restoredCorner(WindowHandle window) override;
    // X draws every window at the screen's own pixels.
    std::optional<double> pixelScale(WindowHandle) override { return std::nullopt; }
    Text hiddenWindowsAdvice() override { return hiddenAdvice_; }

private:
    // The first of the windows titled exactly `title` (in UTF-8: `wanted`), or 0.
    WindowHandle firstTitled(const std::vector<xcb_window_t>& windows, const Text& title, const std::string& wanted);
    // Compound text with escape sequences (as programs of the X toolkit write titles
    // beyond Latin-1) in UTF-8, through Xlib's converters that wrote it; nothing
    // when it is not text.
    std::optional<std::string> compoundTextInUtf8(std::string_view bytes);

    const XcbConnection& x_;
    Text hiddenAdvice_;
    // Opened the first time such a title is met.
    std::unique_ptr<_XDisplay, XlibDisplayCloser> xlib_;
};

class SharedImageMemory;

struct ImageSource;
struct GrabArea;

// Copies the root window's pixels; a part of the rectangle off the screen is black.
// The server writes them into memory shared with it where it offers that, else
// sends them through the socket. In a Wayland session the X server (XWayland) has
// no screen to copy, but it keeps every X window's own picture whole, even where
// other windows cover it: there the camera's picture is read from the viewer's
// own window, and what lies outside that window is black.
class X11ScreenGrabber final : public ScreenGrabber {
public:
    enum class Reads { Screen, ViewersOwnWindow };
    explicit X11ScreenGrabber(const XcbConnection& connection, Reads reads = Reads::Screen);
    ~X11ScreenGrabber() override;
    X11ScreenGrabber(const X11ScreenGrabber&) = delete;
    X11ScreenGrabber& operator=(const X11ScreenGrabber&) = delete;
    GrabResult grab(const ScreenRect& rect) override;
    // The viewer is the X window the lookup found.
    GrabResult grabViewer(WindowHandle viewer, const ScreenRect& rect) override;
    bool readsViewersOwnPicture() const override { return reads_ == Reads::ViewersOwnWindow; }
    std::unique_ptr<GrabbedBitmap> bitmapOf(Picture picture) override;

private:
    GrabResult copy(const ImageSource& source, const GrabArea& area);
    // The shared memory of at least `size` bytes, kept from one grab to the next
    // and grown as needed; nothing where the server refuses it.
    const SharedImageMemory* sharedMemoryFor(std::size_t size);

    const XcbConnection& x_;
    Reads reads_;
    std::optional<bool> screenCanBeRead_;
    bool sharedMemoryRefused_ = false;
    std::unique_ptr<SharedImageMemory> shared_;
};

}  // namespace skl
