#pragma once
// Where a top-level window's outer frame lies on the screen, as other programs
// see it: the window manager's published frame extents where it publishes them,
// else the frame window it put around the client in the window tree.

#include <optional>

#include "capture/CaptureState.h"
#include "capture/x11/xcb_x11.h"

namespace skl {

// The window's ancestor that is a child of the root: the window manager's frame
// around it, or the window itself when it has none. Nothing when it is gone.
std::optional<xcb_window_t> topLevelAncestor(const XcbConnection& x, xcb_window_t window);

// The outer frame in root pixels, decorations included; nothing when the window is
// gone. It holds while the window is minimised: the place it returns to.
std::optional<ScreenRect> outerFrameOf(const XcbConnection& x, xcb_window_t window);

// Whether the window shows on the screen (it and all its ancestors are mapped).
bool isViewable(const XcbConnection& x, xcb_window_t window);

}  // namespace skl
