#pragma once
// How the root window's pixels are laid out in the images the X server sends and
// takes: the pixel format of its visual and depth, and the padding of each row.

#include <optional>

#include "capture/PixelFormat.h"
#include "capture/x11/xcb_x11.h"

namespace skl {

struct ImageLayout {
    PixelFormat format;
    std::size_t scanlinePad = 32;  // bits

    std::size_t rowBytes(std::size_t width) const { return format.rowBytes(width, scanlinePad); }
};

// Nothing when the root visual is not a true-colour one that PixelFormat can read.
std::optional<ImageLayout> rootImageLayout(const XcbConnection& x);
// The same for a window of this visual and depth.
std::optional<ImageLayout> imageLayoutOf(const XcbConnection& x, xcb_visualid_t visual, std::uint8_t depth);

}  // namespace skl
