#pragma once
// What the Linux edition's process holds: its memory and open files as the kernel
// counts them, and what its connections have made on the X server, as the server's
// X-Resource extension counts it.

#include "capture/x11/xcb_x11.h"
#include "tools/bench/Figures.h"

namespace skl::bench {

Resources measureX11Resources(const XcbConnection& x);

inline constexpr const char* x11ResourceLegend =
    "RSS and private: VmRSS and RssAnon of /proc/self/status; files: open descriptors; windows, pixmaps, GCs, all "
    "and pixmap KiB: what the process's X connections (the toolkit's and the program's own) hold on the server, "
    "from its X-Resource extension";

}  // namespace skl::bench
