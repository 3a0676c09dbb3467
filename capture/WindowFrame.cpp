#include "WindowFrame.h"

#include <algorithm>

namespace skl {

std::optional<FrameExtents> frameExtentsFrom(std::span<const std::uint32_t> cardinals) {
    if (cardinals.size() != 4) return std::nullopt;
    if (std::any_of(cardinals.begin(), cardinals.end(), [](std::uint32_t width) { return width > widestFrame; }))
        return std::nullopt;
    const auto width = [&](std::size_t index) { return static_cast<std::int32_t>(cardinals[index]); };
    return FrameExtents{width(0), width(1), width(2), width(3)};
}

ScreenRect outerFrame(const ClientGeometry& client, const std::optional<FrameExtents>& extents) {
    const FrameExtents frame = extents.value_or(FrameExtents{});
    const std::int32_t left = client.corner.x - client.borderWidth - frame.left;
    const std::int32_t top = client.corner.y - client.borderWidth - frame.top;
    const std::int32_t width = frame.left + client.width + 2 * client.borderWidth + frame.right;
    const std::int32_t height = frame.top + client.height + 2 * client.borderWidth + frame.bottom;
    return {left, top, left + width, top + height};
}

}  // namespace skl
