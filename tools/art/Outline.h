#pragma once
// Filling a shape given pixel by pixel, with a one-pixel outline of another colour.

#include <cstdint>
#include <functional>

#include "capture/Picture.h"

namespace skl::art {

// Paints every pixel for which inside(x, y) holds: those with a left, right, upper or
// lower neighbour outside the shape in outline, the others in fill.
void fillOutlined(Picture& picture, const std::function<bool(int x, int y)>& inside, std::uint32_t outline,
                  std::uint32_t fill);

}  // namespace skl::art
