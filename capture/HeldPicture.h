#pragma once
// A grabbed bitmap that holds nothing of the window system's: just the picture,
// which the clipboard and the preview copy from.

#include <utility>

#include "Picture.h"
#include "Ports.h"

namespace skl {

class HeldPicture final : public GrabbedBitmap {
public:
    explicit HeldPicture(Picture picture) : picture_(std::move(picture)) {}
    const Picture& picture() const override { return picture_; }

private:
    Picture picture_;
};

}  // namespace skl
