#pragma once
// What the main window shows of its picture controls at one resolution: which
// picture of each pair is visible, where each control lies, which control the
// pointer is over, which pictures the window paints itself and where the preview
// lies. Both window toolkits draw and route from it.

#include <array>
#include <optional>
#include <vector>

#include "window/Controls.h"

namespace skl {

class WindowFace {
public:
    explicit WindowFace(double twipsPerPixel);

    double twipsPerPixel() const { return twipsPerPixel_; }
    bool isVisible(Control control) const { return visible_[static_cast<std::size_t>(control)]; }
    // Shows or hides one picture of a pair: that picture's control, none when it
    // already was so.
    std::optional<Control> setVisible(Pair pair, std::int16_t index, bool visible);
    PixelRect rect(Control control) const { return rects_[static_cast<std::size_t>(control)]; }

    // The visible picture control under the client point that takes the mouse;
    // none over the ground and over a control that ignores input (the plate, the
    // preview).
    std::optional<Control> controlAt(PixelPoint point) const;

    // The visible images, which the window paints itself (the preview apart), in the
    // order of the definition.
    std::vector<Control> paintedImages() const;

    // The preview's box: its border around a picture of the size it shows, the
    // start-up splash's until the first snapshot.
    PixelSize previewSize() const { return previewSize_; }
    PixelRect previewBox() const { return skl::previewBox(previewSize_, twipsPerPixel_); }
    // The preview shows a picture of this size from now on. The area to repaint: the
    // larger of the old and new boxes, so the ground shows where a larger preview was.
    PixelRect showPreviewOf(PixelSize size);

private:
    double twipsPerPixel_;
    std::array<bool, controlCount> visible_{};
    std::array<PixelRect, controlCount> rects_{};
    PixelSize previewSize_;
};

}  // namespace skl
