#pragma once
// Asking the window manager to keep a window above the others, or no longer: a
// _NET_WM_STATE message adding or removing _NET_WM_STATE_ABOVE, as On Top and a
// window coming back from stepping aside both ask.

#include <cstdint>

#include "capture/x11/xcb_x11.h"

namespace skl {

// The source indication of window manager requests: a request from an application.
inline constexpr std::uint32_t fromAnApplication = 1;

// Sends the request without flushing.
void askToStayAbove(const XcbConnection& x, xcb_window_t window, bool above);

}  // namespace skl
