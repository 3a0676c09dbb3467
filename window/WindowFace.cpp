#include "WindowFace.h"

namespace skl {

WindowFace::WindowFace(double twipsPerPixel) : twipsPerPixel_(twipsPerPixel) {
    for (const PictureControlDefinition& definition : pictureControls) {
        const auto at = static_cast<std::size_t>(definition.control);
        visible_[at] = definition.visibleAtStart;
        rects_[at] = pixelRect(definition.control, twipsPerPixel);
    }
}

bool WindowFace::setVisible(Pair pair, std::int16_t index, bool visible) {
    bool& shown = visible_[static_cast<std::size_t>(pictureOf(pair, index))];
    if (shown == visible) return false;
    shown = visible;
    return true;
}

std::optional<PictureControl> WindowFace::controlAt(PixelPoint point) const {
    // Picture boxes lie above the drawn images; a disabled one passes the mouse
    // on to the window beneath it.
    for (const ControlKind layer : {ControlKind::PictureBox, ControlKind::Image}) {
        for (const PictureControlDefinition& definition : pictureControls) {
            if (definition.kind != layer || !isVisible(definition.control)) continue;
            if (!rect(definition.control).contains(point)) continue;
            if (definition.control == PictureControl::Picture2) return std::nullopt;
            return definition.control;
        }
    }
    return std::nullopt;
}

}  // namespace skl
