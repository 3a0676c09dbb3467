#pragma once
// Small drawing operations on a Picture; everything outside the picture is clipped.

#include <cstdint>
#include <functional>
#include <vector>

#include "capture/Picture.h"

namespace skl::art {

struct Point {
    int x = 0;
    int y = 0;
};

// A set of pixels to paint, such as the ink of a line of text.
using Mask = std::vector<Point>;

Picture blankPicture(int width, int height, std::uint32_t colour);

void setPixel(Picture& picture, int x, int y, std::uint32_t colour);
// Corners inclusive.
void fillRect(Picture& picture, int left, int top, int right, int bottom, std::uint32_t colour);
// The outermost one-pixel ring.
void drawFrame(Picture& picture, std::uint32_t colour);
void paintMask(Picture& picture, const Mask& mask, std::uint32_t colour);
// Replaces every pixel of one colour by another.
void recolour(Picture& picture, std::uint32_t from, std::uint32_t to);

// Mixes a over b; share is a's part, 0 to 1.
std::uint32_t blend(std::uint32_t a, std::uint32_t b, double share);
// Scales the colour's channels by factor (clamped to 0..255).
std::uint32_t scaled(std::uint32_t colour, double factor);

// Paints a smooth shape: inside says which points (in pixel units, pixel centres at
// .5) belong to it, shade gives its colour at a pixel. Edge pixels are blended with
// what lies beneath by the share of 4 x 4 sample points inside.
void paintShape(Picture& picture, int left, int top, int right, int bottom,
                const std::function<bool(double x, double y)>& inside,
                const std::function<std::uint32_t(int x, int y)>& shade);

}  // namespace skl::art
