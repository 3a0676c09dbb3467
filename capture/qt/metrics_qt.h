#pragma once
// Twips per pixel from the screen's logical resolution, as Qt reports it.

#include "capture/Ports.h"

namespace skl {

class QtScreenMetrics final : public ScreenMetrics {
public:
    double twipsPerPixelX() override;
    double twipsPerPixelY() override;
};

}  // namespace skl
