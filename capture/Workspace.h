#pragma once
// Windows gives a top-level window's restored rectangle in workspace coordinates:
// relative to the work area of its monitor (the screen less the taskbar and other
// docked bars), not to the screen. With a bar at the top or the left the two
// differ by its thickness.

#include "CaptureState.h"

namespace skl {

// The rectangle in screen coordinates, from workspace coordinates on a monitor
// whose whole area and work area are given in screen coordinates.
constexpr ScreenRect workspaceToScreen(const ScreenRect& rect, const ScreenRect& monitor, const ScreenRect& workArea) {
    const std::int64_t dx = std::int64_t{workArea.left} - monitor.left;
    const std::int64_t dy = std::int64_t{workArea.top} - monitor.top;
    // Monitors and their work areas lie within the 16-bit coordinates of the
    // desktop, so the shift always fits.
    return {static_cast<std::int32_t>(rect.left + dx), static_cast<std::int32_t>(rect.top + dy),
            static_cast<std::int32_t>(rect.right + dx), static_cast<std::int32_t>(rect.bottom + dy)};
}

}  // namespace skl
