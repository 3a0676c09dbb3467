#pragma once
// A picture at another size: each pixel the mean colour of the part of the source
// it covers (exact fractions of pixels, for any ratio up or down).

#include <cstdint>

#include "Picture.h"

namespace skl {

Picture scaledPicture(const Picture& source, std::int32_t width, std::int32_t height);

}  // namespace skl
