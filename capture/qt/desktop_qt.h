#pragma once
// The capture's ports that the Linux edition serves through Qt: the clipboard and
// the screen's resolution.

#include "capture/Ports.h"

namespace skl {

// The program owns the CLIPBOARD selection and offers the picture in the image
// formats X programs ask for (image/bmp and image/png among them), converted only
// when asked.
class QtClipboard final : public Clipboard {
public:
    // Taking the selection never waits for another program, so it never fails.
    bool tryPutBitmap(const Picture& picture) override;
};

// Twips per pixel from the screen's logical resolution, as Qt reports it.
class QtScreenMetrics final : public ScreenMetrics {
public:
    double twipsPerPixelX() override;
    double twipsPerPixelY() override;
};

}  // namespace skl
