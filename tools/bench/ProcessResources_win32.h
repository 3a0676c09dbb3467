#pragma once
// What the Windows program's process holds: GDI and USER objects, its windows
// and its memory, as the system counts them.

#include "tools/bench/Figures.h"

namespace skl::bench {

Resources measureWin32Resources();

inline constexpr const char* win32ResourceLegend =
    "GDI and USER: GetGuiResources; GDI live: live entries of the GDI handle table; windows: this process's "
    "windows; WS: working set; private: PrivateUsage, or the host's RssAnon where that is not counted";

}  // namespace skl::bench
