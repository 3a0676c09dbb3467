#pragma once
// Where a grab rectangle meets the screen. The X server copies only what lies on
// the screen; the rest of the picture stays black.

#include <cstdint>
#include <optional>

#include "CaptureState.h"

namespace skl {

struct GrabArea {
    // The picture: the whole rectangle.
    std::int32_t width = 0;
    std::int32_t height = 0;
    // The rectangle's part on the screen, in root pixels, and where it lands in the
    // picture; 0 x 0 when no part of the rectangle is on the screen.
    std::int32_t sourceX = 0;
    std::int32_t sourceY = 0;
    std::int32_t sourceWidth = 0;
    std::int32_t sourceHeight = 0;
    std::int32_t pictureX = 0;
    std::int32_t pictureY = 0;
    bool operator==(const GrabArea&) const = default;
};

// No grab is wider or higher than this (a screen on X is at most 32767 pixels).
inline constexpr std::int32_t largestGrabSide = 32767;

// Nothing for an empty rectangle or one with a side beyond largestGrabSide.
std::optional<GrabArea> grabAreaOf(const ScreenRect& rect, std::int32_t screenWidth, std::int32_t screenHeight);

}  // namespace skl
