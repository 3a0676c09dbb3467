#pragma once
// What the main window shows of its picture controls at one resolution: which
// picture of each pair is visible, where each control lies, and which control
// the pointer is over.

#include <array>
#include <optional>

#include "window/Controls.h"

namespace skl {

class WindowFace {
public:
    explicit WindowFace(double twipsPerPixel);

    double twipsPerPixel() const { return twipsPerPixel_; }
    bool isVisible(Control control) const { return visible_[static_cast<std::size_t>(control)]; }
    // Shows or hides one picture of a pair; false when it already was so.
    bool setVisible(Pair pair, std::int16_t index, bool visible);
    PixelRect rect(Control control) const { return rects_[static_cast<std::size_t>(control)]; }

    // The visible picture control under the client point that takes the mouse;
    // none over the ground and over a control that ignores input (the plate, the
    // preview).
    std::optional<Control> controlAt(PixelPoint point) const;

private:
    double twipsPerPixel_;
    std::array<bool, controlCount> visible_{};
    std::array<PixelRect, controlCount> rects_{};
};

}  // namespace skl
