#include "PictureControls.h"

#include "capture/Checked.h"

namespace skl {

PictureControl pictureOf(Pair pair, std::int16_t index) {
    static constexpr PictureControl elements[][2] = {
        {PictureControl::directions0, PictureControl::directions1},
        {PictureControl::newcam0, PictureControl::newcam1},
        {PictureControl::pick0, PictureControl::pick1},
        {PictureControl::prev0, PictureControl::prev1},
        {PictureControl::ontop0, PictureControl::ontop1},
    };
    return elements[static_cast<std::size_t>(pair)][index != 0];
}

std::optional<Pair> pairOf(PictureControl control) {
    switch (control) {
        case PictureControl::directions0:
        case PictureControl::directions1: return Pair::directions;
        case PictureControl::newcam0:
        case PictureControl::newcam1: return Pair::newcam;
        case PictureControl::pick0:
        case PictureControl::pick1: return Pair::pick;
        case PictureControl::prev0:
        case PictureControl::prev1: return Pair::prev;
        case PictureControl::ontop0:
        case PictureControl::ontop1: return Pair::ontop;
        case PictureControl::Picture1:
        case PictureControl::Picture2:
        case PictureControl::brellow:
        case PictureControl::xit: break;
    }
    return std::nullopt;
}

std::int32_t pixels(std::int32_t twips, double twipsPerPixel) {
    // Window places are a few thousand twips and factors are positive: always in range.
    return twipsToPixels(twips, twipsPerPixel).value_or(0);
}

PixelRect pixelRect(const layout::TwipsRect& rect, double twipsPerPixel) {
    return {pixels(rect.left, twipsPerPixel), pixels(rect.top, twipsPerPixel), pixels(rect.width, twipsPerPixel),
            pixels(rect.height, twipsPerPixel)};
}

PixelRect pixelRect(PictureControl control, double twipsPerPixel) {
    const PictureControlDefinition& definition = definitionOf(control);
    return {pixels(definition.leftTwips, twipsPerPixel), pixels(definition.topTwips, twipsPerPixel),
            definition.pictureSize.width, definition.pictureSize.height};
}

PixelRect previewBox(PixelSize picture, double twipsPerPixel) {
    return {pixels(layout::Image1.left, twipsPerPixel), pixels(layout::Image1.top, twipsPerPixel), picture.width + 2,
            picture.height + 2};
}

}  // namespace skl
