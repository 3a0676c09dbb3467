#pragma once
// The clipboard of the Linux edition, through Qt: the program owns the CLIPBOARD
// selection and offers the picture in the image formats X programs ask for
// (image/bmp and image/png among them), converted only when asked.

#include "capture/Ports.h"

namespace skl {

class QtClipboard final : public Clipboard {
public:
    // Taking the selection never waits for another program, so it never fails.
    bool tryPutBitmap(const Picture& picture) override;
};

}  // namespace skl
