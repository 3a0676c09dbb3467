#include "Controls.h"

#include "capture/Checked.h"

namespace skl {

Control pictureOf(Pair pair, std::int16_t index) {
    for (const ControlDefinition& definition : form1Controls) {
        if (definition.pair == pair && definition.index == (index != 0 ? 1 : 0)) return definition.control;
    }
    return Control::Picture1;  // every pair has both elements
}

std::int32_t pixels(std::int32_t twips, double twipsPerPixel) {
    // Window places are a few thousand twips and factors are positive: always in range.
    return twipsToPixels(twips, twipsPerPixel).value_or(0);
}

PixelRect pixelRect(const TwipsRect& rect, double twipsPerPixel) {
    return {pixels(rect.left, twipsPerPixel), pixels(rect.top, twipsPerPixel), pixels(rect.width, twipsPerPixel),
            pixels(rect.height, twipsPerPixel)};
}

PixelRect pixelRect(Control control, double twipsPerPixel) {
    const ControlDefinition& definition = definitionOf(control);
    PixelRect rect = pixelRect(definition.place, twipsPerPixel);
    if (definition.picture) {
        rect.width = definition.pictureSize.width;
        rect.height = definition.pictureSize.height;
    }
    return rect;
}

PixelRect previewBox(PixelSize picture, double twipsPerPixel) {
    const TwipsRect& place = definitionOf(Control::Image1).place;
    return {pixels(place.left, twipsPerPixel), pixels(place.top, twipsPerPixel), picture.width + 2,
            picture.height + 2};
}

}  // namespace skl
