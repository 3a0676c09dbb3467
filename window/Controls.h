#pragma once
// The main window's controls at a resolution: twips turned into pixels, the pairs
// of picture buttons, and the preview's box. A picture control stands with its
// top-left corner at its place in twips and is exactly as large as its picture,
// which it never stretches: at any resolution it covers its picture's pixels and
// no others.

#include <cstdint>

#include "window/Form1Definition.h"

namespace skl {

struct PixelPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

struct PixelRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t right() const { return left + width; }
    std::int32_t bottom() const { return top + height; }
    bool contains(PixelPoint p) const { return p.x >= left && p.x < right() && p.y >= top && p.y < bottom(); }
    bool operator==(const PixelRect&) const = default;
};

// The element of a pair.
Control pictureOf(Pair pair, std::int16_t index);

// A length or coordinate in twips as whole pixels (nearest, halves to even).
std::int32_t pixels(std::int32_t twips, double twipsPerPixel);

PixelRect pixelRect(const TwipsRect& rect, double twipsPerPixel);

// Where the control lies in its container at this resolution: a picture control
// at its picture's size.
PixelRect pixelRect(Control control, double twipsPerPixel);

// The preview: its one-pixel border around the picture, at the preview's place.
PixelRect previewBox(PixelSize picture, double twipsPerPixel);

}  // namespace skl
