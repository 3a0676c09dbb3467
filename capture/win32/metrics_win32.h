#pragma once
// Twips per pixel from the screen's logical resolution, read afresh on every call.

#include "capture/Ports.h"

namespace skl {

// The screen's logical resolution along the axis (LOGPIXELSX or LOGPIXELSY) in dots
// per inch; 0 when it cannot be read.
int screenDotsPerInch(int axis);

class Win32ScreenMetrics final : public ScreenMetrics {
public:
    double twipsPerPixelX() override;
    double twipsPerPixelY() override;
};

}  // namespace skl
