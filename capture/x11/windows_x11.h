#pragma once
// Other programs' top-level windows on X11: the window manager's clients (or, with
// none running, the root's children) and the windows that bypass it, found by their
// exact title, and the corner of the found window's outer frame.

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

}  // namespace skl
