#include "GrabArea.h"

#include <algorithm>

namespace skl {

std::optional<GrabArea> grabAreaOf(const ScreenRect& rect, std::int32_t screenWidth, std::int32_t screenHeight) {
    const std::int64_t width = std::int64_t{rect.right} - rect.left;
    const std::int64_t height = std::int64_t{rect.bottom} - rect.top;
    if (width <= 0 || height <= 0 || width > largestGrabSide || height > largestGrabSide) return std::nullopt;

    GrabArea area;
    area.width = static_cast<std::int32_t>(width);
    area.height = static_cast<std::int32_t>(height);
    const std::int64_t left = std::max<std::int64_t>(rect.left, 0);
    const std::int64_t top = std::max<std::int64_t>(rect.top, 0);
    const std::int64_t right = std::min<std::int64_t>(rect.right, screenWidth);
    const std::int64_t bottom = std::min<std::int64_t>(rect.bottom, screenHeight);
    if (left >= right || top >= bottom) return area;

    // Every value now lies within the screen or the picture.
    area.sourceX = static_cast<std::int32_t>(left);
    area.sourceY = static_cast<std::int32_t>(top);
    area.sourceWidth = static_cast<std::int32_t>(right - left);
    area.sourceHeight = static_cast<std::int32_t>(bottom - top);
    area.pictureX = static_cast<std::int32_t>(left - rect.left);
    area.pictureY = static_cast<std::int32_t>(top - rect.top);
    return area;
}

}  // namespace skl
