#pragma once
// Which windows are the screen's top-level client windows.

#include <vector>

#include "capture/xcb_x11.h"

namespace skl {

// The managed top-level windows, minimised ones included, topmost first where the
// window manager tells the stacking order. Without a window manager's lists: the
// root's children, each stood for by its client window.
std::vector<xcb_window_t> topLevelClients(const XcbConnection& x);

}  // namespace skl
