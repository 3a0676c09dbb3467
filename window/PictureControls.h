#pragma once
// The main window's picture controls: the smiley, the plate, the picture buttons
// and the banner. Each stands with its top-left corner at its place in twips and
// is exactly as large as its picture, which it never stretches: at any resolution
// it covers its picture's pixels and no others. Every window toolkit builds,
// paints and hit-tests these controls from this one table.

#include <array>
#include <cstdint>
#include <optional>

#include "window/Layout.h"

namespace skl {

// The button pairs: index 0 and 1 on the same spot, one visible at a time.
enum class Pair : std::uint8_t { directions, newcam, pick, prev, ontop };

// In the order in which the window definition holds them.
enum class PictureControl : std::uint8_t {
    directions1, directions0, Picture2, Picture1, brellow, ontop1, ontop0, xit,
    prev1, prev0, pick1, pick0, newcam1, newcam0
};
inline constexpr std::size_t pictureControlCount = 14;

// Picture boxes are windows of their own, above the window's drawn images; they
// can take the keyboard focus.
enum class ControlKind : std::uint8_t { PictureBox, Image };

struct PixelPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

struct PixelSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool operator==(const PixelSize&) const = default;
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

struct PictureControlDefinition {
    PictureControl control;
    const char* pictureName;  // its picture file in assets/, without ".bmp"
    ControlKind kind;
    std::int32_t leftTwips;
    std::int32_t topTwips;
    PixelSize pictureSize;
    bool visibleAtStart;
};

inline constexpr std::array<PictureControlDefinition, pictureControlCount> pictureControls{{
    {PictureControl::directions1, "directions1", ControlKind::PictureBox, layout::directions.left, layout::directions.top, {61, 22}, false},
    {PictureControl::directions0, "directions0", ControlKind::PictureBox, layout::directions.left, layout::directions.top, {61, 22}, true},
    {PictureControl::Picture2, "Picture2", ControlKind::PictureBox, layout::Picture2.left, layout::Picture2.top, {144, 31}, true},
    {PictureControl::Picture1, "Picture1", ControlKind::PictureBox, layout::Picture1.left, layout::Picture1.top, {32, 31}, true},
    {PictureControl::brellow, "brellow", ControlKind::Image, layout::brellow.left, layout::brellow.top, {324, 18}, true},
    {PictureControl::ontop1, "ontop1", ControlKind::Image, layout::ontop.left, layout::ontop.top, {23, 22}, false},
    {PictureControl::ontop0, "ontop0", ControlKind::Image, layout::ontop.left, layout::ontop.top, {23, 22}, true},
    {PictureControl::xit, "xit", ControlKind::Image, layout::xit.left, layout::xit.top, {23, 22}, true},
    {PictureControl::prev1, "prev1", ControlKind::Image, layout::prev.left, layout::prev.top, {61, 22}, false},
    {PictureControl::prev0, "prev0", ControlKind::Image, layout::prev.left, layout::prev.top, {61, 22}, true},
    {PictureControl::pick1, "pick1", ControlKind::Image, layout::pick.left, layout::pick.top, {61, 22}, false},
    {PictureControl::pick0, "pick0", ControlKind::Image, layout::pick.left, layout::pick.top, {61, 22}, true},
    {PictureControl::newcam1, "newcam1", ControlKind::Image, layout::newcam.left, layout::newcam.top, {61, 22}, false},
    {PictureControl::newcam0, "newcam0", ControlKind::Image, layout::newcam.left, layout::newcam.top, {61, 22}, true},
}};

inline constexpr const PictureControlDefinition& definitionOf(PictureControl control) {
    return pictureControls[static_cast<std::size_t>(control)];
}

// The element of a pair.
PictureControl pictureOf(Pair pair, std::int16_t index);

// The pair a control belongs to; none for the single controls.
std::optional<Pair> pairOf(PictureControl control);

// A length or coordinate in twips as whole pixels (nearest, halves to even).
std::int32_t pixels(std::int32_t twips, double twipsPerPixel);

PixelRect pixelRect(const layout::TwipsRect& rect, double twipsPerPixel);

// Where the control lies in its container at this resolution.
PixelRect pixelRect(PictureControl control, double twipsPerPixel);

// The preview: its one-pixel border around the picture, at the preview's place.
PixelRect previewBox(PixelSize picture, double twipsPerPixel);

}  // namespace skl
