#pragma once
// A window's own picture as a compositor hands it over: raw rows in one of a few
// pixel layouts, at the window's scale, with the window's client area at some
// offset inside its outer frame; and the camera rectangle cut out of it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "CaptureState.h"
#include "Picture.h"

namespace skl {

// The pixel layouts read, numbered as the compositor numbers them in its reply
// (the numbers of Qt's image formats).
enum class RawPixelLayout : std::int32_t {
    RGB32 = 4,                   // 32-bit words 0xffRRGGBB in the machine's byte order
    ARGB32 = 5,                  // 0xAARRGGBB
    ARGB32Premultiplied = 6,     // 0xAARRGGBB, colours already multiplied by alpha
    RGB888 = 13,                 // bytes R, G, B
    RGBX8888 = 16,               // bytes R, G, B, 0xff
    RGBA8888 = 17,               // bytes R, G, B, A
    RGBA8888Premultiplied = 18,  // bytes R, G, B, A, colours multiplied by alpha
    BGR888 = 29,                 // bytes B, G, R
};

// What the compositor says of the picture it sends.
struct RawImageLayout {
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::int64_t stride = 0;  // bytes from one row to the next
    std::int64_t format = 0;  // a RawPixelLayout's number
    double scale = 1.0;       // the picture's pixels per pixel of the screen
};

// No side of a picture read is longer than this.
inline constexpr std::int64_t largestRawSide = 32767;

// The bytes that follow (stride x height); nothing for a picture that cannot be
// read: an unknown format, a side out of range, rows shorter than their pixels, a
// scale no screen has.
std::optional<std::size_t> rawImageBytes(const RawImageLayout& layout);

// The part `rect` (in screen pixels, relative to the picture's top-left corner) of
// the picture, as a picture of the rectangle's size: read at the picture's scale and
// brought back to screen pixels. What lies beyond the picture is black; colours
// with alpha show as over black. Nothing when the layout cannot be read or the
// bytes are fewer than it needs.
std::optional<Picture> cropRawImage(const RawImageLayout& layout, std::span<const std::uint8_t> bytes,
                                    const ScreenRect& rect);

// Where a window's pictures lie relative to its outer frame.
struct WindowPictureGeometry {
    ScreenPoint frameCorner;   // the outer frame's top-left corner on the screen
    ScreenPoint clientOffset;  // the client picture's corner less the frame's
    ScreenPoint clientSize;    // the client picture's width and height in screen pixels

    // Whether the picture sent is the client picture, at its scale: of another size
    // it is some other part of the window, where the camera is not at the offset.
    bool isClientPicture(const RawImageLayout& layout) const;

    // The rectangle on the screen relative to the client picture's corner.
    ScreenRect inClientPicture(const ScreenRect& onScreen) const;
};

// The client picture's offset in the frame. A native window's buffer is its
// picture, so its offset is the buffer's corner less the frame's (negative where
// the program draws its own shadow around the frame); an X window's picture is its
// client window, whose corner the X server tells (the compositor's buffer of it
// is the whole frame).
ScreenPoint clientOffsetOf(ScreenPoint frameCorner, ScreenPoint bufferCorner,
                           std::optional<ScreenPoint> x11ClientCorner);

}  // namespace skl
