#pragma once
// Where another program's window lies on the screen and how much larger than its
// own pixels the system draws it, told from what the system says of its restored
// frame. Windows (Vista on) stretches a window that does not know the screen's
// resolution; a system that only maps such a window's coordinates, and draws it
// unstretched at its own ones, says so by failing or contradicting itself, and
// its own coordinates are then the screen's.

#include <optional>

#include "CaptureState.h"

namespace skl {

struct FrameReadings {
    // The restored frame in this program's coordinates.
    ScreenRect ours;
    // The same frame in the window's own coordinates, where the system reads it so.
    std::optional<ScreenRect> own;
    // The own frame's corner and its last pixel (bottom right, inside the frame),
    // mapped by the system from the window's coordinates to the screen's pixels.
    std::optional<ScreenPoint> mappedCorner;
    std::optional<ScreenPoint> mappedLastPixel;
};

struct ViewerFrame {
    ScreenPoint corner;  // the restored frame's corner on the screen
    double scale = 1.0;  // screen pixels to one of the window's own
};

// Stretched only where the frame is larger in our coordinates than in its own,
// equally across and down, and the system's mapping puts both of its points
// where our coordinates have them (within a pixel of rounding).
ViewerFrame viewerFrameOf(const FrameReadings& readings);

}  // namespace skl
