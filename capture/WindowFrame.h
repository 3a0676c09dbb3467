#pragma once
// Where a top-level window's outer frame lies: the client window's place on the
// screen widened by the frame that the window manager draws around it.

#include <cstdint>
#include <optional>
#include <span>

#include "CaptureState.h"

namespace skl {

// The frame's widths on each side, in the order the window manager publishes them.
struct FrameExtents {
    std::int32_t left = 0;
    std::int32_t right = 0;
    std::int32_t top = 0;
    std::int32_t bottom = 0;
    bool operator==(const FrameExtents&) const = default;
};

// No window manager draws a frame wider than this; a wider one is not believed.
inline constexpr std::uint32_t widestFrame = 4096;

// The extents from the 32-bit CARDINAL values of the window's frame extents property
// (the caller passes none when the property is missing or of another type or format);
// nothing unless there are exactly four values, each believable.
std::optional<FrameExtents> frameExtentsFrom(std::span<const std::uint32_t> cardinals);

// The client area, in root pixels: its corner inside the window's own border.
struct ClientGeometry {
    ScreenPoint corner;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t borderWidth = 0;
};

// The outer frame: the client's corner less its border and the frame's left and top
// widths, its size plus both. Without extents the window's own rectangle (with its
// border), as for an undecorated window. Every input comes from X's 16-bit fields or
// is at most widestFrame, so no sum can overflow.
ScreenRect outerFrame(const ClientGeometry& client, const std::optional<FrameExtents>& extents);

}  // namespace skl
