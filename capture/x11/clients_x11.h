#pragma once
// Which windows are the screen's top-level client windows.

#include <vector>

#include "capture/x11/xcb_x11.h"

namespace skl {

// The managed top-level windows, minimised ones included, topmost first where the
// window manager tells the stacking order. Without a running window manager's
// lists: the root's children, each stood for by its client window.
std::vector<xcb_window_t> topLevelClients(const XcbConnection& x);

// The top-level windows that no window manager manages (override-redirect) and
// that show on the screen, topmost first: caption-less windows of some programs.
std::vector<xcb_window_t> unmanagedTopLevels(const XcbConnection& x);

}  // namespace skl
