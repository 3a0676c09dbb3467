#include "WindowFace.h"

#include <algorithm>

namespace skl {

WindowFace::WindowFace(double twipsPerPixel)
    : twipsPerPixel_(twipsPerPixel), previewSize_(definitionOf(Control::Image1).pictureSize) {
    for (const ControlDefinition& definition : form1Controls) {
        const auto at = static_cast<std::size_t>(definition.control);
        visible_[at] = definition.visibleAtStart;
        rects_[at] = pixelRect(definition.control, twipsPerPixel);
    }
}

std::optional<Control> WindowFace::setVisible(Pair pair, std::int16_t index, bool visible) {
    const Control picture = pictureOf(pair, index);
    bool& shown = visible_[static_cast<std::size_t>(picture)];
    if (shown == visible) return std::nullopt;
    shown = visible;
    return picture;
}

std::optional<Control> WindowFace::controlAt(PixelPoint point) const {
    // Picture boxes lie above the drawn images.
    for (const ControlKind layer : {ControlKind::PictureBox, ControlKind::Image}) {
        for (const ControlDefinition& definition : form1Controls) {
            if (definition.kind != layer || !isVisible(definition.control)) continue;
            if (!rect(definition.control).contains(point)) continue;
            if (!definition.takesInput()) return std::nullopt;
            return definition.control;
        }
    }
    return std::nullopt;
}

std::vector<Control> WindowFace::paintedImages() const {
    std::vector<Control> images;
    for (const ControlDefinition& definition : form1Controls) {
        if (definition.kind == ControlKind::Image && definition.control != Control::Image1 &&
            isVisible(definition.control))
            images.push_back(definition.control);
    }
    return images;
}

PixelRect WindowFace::showPreviewOf(PixelSize size) {
    const PixelSize larger{std::max(previewSize_.width, size.width), std::max(previewSize_.height, size.height)};
    previewSize_ = size;
    return skl::previewBox(larger, twipsPerPixel_);
}

}  // namespace skl
