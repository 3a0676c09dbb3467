#include "WindowImage.h"

#include <cmath>
#include <cstring>

#include "GrabArea.h"
#include "Picture.h"

namespace skl {
namespace {

struct LayoutInfo {
    std::size_t bytesPerPixel = 0;
    bool knownFormat = false;
};

LayoutInfo infoOf(std::int64_t format) {
    switch (static_cast<RawPixelLayout>(format)) {
        case RawPixelLayout::RGB32:
        case RawPixelLayout::ARGB32:
        case RawPixelLayout::ARGB32Premultiplied:
        case RawPixelLayout::RGBX8888:
        case RawPixelLayout::RGBA8888:
        case RawPixelLayout::RGBA8888Premultiplied:
            return {4, true};
        case RawPixelLayout::RGB888:
        case RawPixelLayout::BGR888:
            return {3, true};
    }
    return {};
}

std::uint32_t rgb(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    return (red << 16) | (green << 8) | blue;
}

// A colour with straight alpha as it shows over black.
std::uint32_t overBlack(std::uint32_t value, std::uint32_t alpha) {
    return (value * alpha + 127) / 255;
}

// One pixel at `p` as 0x00RRGGBB.
std::uint32_t colourAt(RawPixelLayout layout, const std::uint8_t* p) {
    switch (layout) {
        case RawPixelLayout::RGB32:
        case RawPixelLayout::ARGB32Premultiplied: {
            std::uint32_t word = 0;
            std::memcpy(&word, p, sizeof word);  // the machine's byte order
            return word & 0x00FFFFFFu;
        }
        case RawPixelLayout::ARGB32: {
            std::uint32_t word = 0;
            std::memcpy(&word, p, sizeof word);
            const std::uint32_t alpha = word >> 24;
            return rgb(overBlack((word >> 16) & 0xFF, alpha), overBlack((word >> 8) & 0xFF, alpha),
                       overBlack(word & 0xFF, alpha));
        }
        case RawPixelLayout::RGBX8888:
        case RawPixelLayout::RGBA8888Premultiplied:
        case RawPixelLayout::RGB888:
            return rgb(p[0], p[1], p[2]);
        case RawPixelLayout::RGBA8888:
            return rgb(overBlack(p[0], p[3]), overBlack(p[1], p[3]), overBlack(p[2], p[3]));
        case RawPixelLayout::BGR888:
            return rgb(p[2], p[1], p[0]);
    }
    return 0;
}

std::int32_t scaledEdge(std::int32_t edge, double scale) {
    return static_cast<std::int32_t>(std::lround(edge * scale));
}

}  // namespace

std::optional<std::size_t> rawImageBytes(const RawImageLayout& layout) {
    const LayoutInfo info = infoOf(layout.format);
    if (!info.knownFormat) return std::nullopt;
    if (layout.width <= 0 || layout.height <= 0 || layout.width > largestRawSide || layout.height > largestRawSide) {
        return std::nullopt;
    }
    if (!std::isfinite(layout.scale) || layout.scale < 1.0 || layout.scale > 8.0) return std::nullopt;
    const auto rowBytes = static_cast<std::int64_t>(info.bytesPerPixel) * layout.width;
    if (layout.stride < rowBytes || layout.stride > 4 * rowBytes + 64) return std::nullopt;
    return static_cast<std::size_t>(layout.stride) * static_cast<std::size_t>(layout.height);
}

std::optional<Picture> cropRawImage(const RawImageLayout& layout, std::span<const std::uint8_t> bytes,
                                    const ScreenRect& rect) {
    const std::optional<std::size_t> needed = rawImageBytes(layout);
    if (!needed || bytes.size() < *needed) return std::nullopt;
    // The rectangle in the picture's own pixels.
    const double scale = layout.scale;
    const ScreenRect scaled{scaledEdge(rect.left, scale), scaledEdge(rect.top, scale), scaledEdge(rect.right, scale),
                            scaledEdge(rect.bottom, scale)};
    const std::optional<GrabArea> area = grabAreaOf(scaled, static_cast<std::int32_t>(layout.width),
                                                    static_cast<std::int32_t>(layout.height));
    if (!area) return std::nullopt;

    Picture picture{area->width, area->height,
                    std::vector<std::uint32_t>(static_cast<std::size_t>(area->width) * area->height, 0)};
    const auto pixelLayout = static_cast<RawPixelLayout>(layout.format);
    const std::size_t bytesPerPixel = infoOf(layout.format).bytesPerPixel;
    const auto stride = static_cast<std::size_t>(layout.stride);
    for (std::int32_t row = 0; row < area->sourceHeight; ++row) {
        const std::uint8_t* source = bytes.data() + static_cast<std::size_t>(area->sourceY + row) * stride +
                                     static_cast<std::size_t>(area->sourceX) * bytesPerPixel;
        std::uint32_t* target = picture.pixels.data() +
                                static_cast<std::size_t>(area->pictureY + row) * static_cast<std::size_t>(area->width) +
                                static_cast<std::size_t>(area->pictureX);
        for (std::int32_t column = 0; column < area->sourceWidth; ++column, source += bytesPerPixel) {
            target[column] = colourAt(pixelLayout, source);
        }
    }
    const std::int32_t width = rect.right - rect.left;
    const std::int32_t height = rect.bottom - rect.top;
    if (picture.width == width && picture.height == height) return picture;
    return scaledPicture(picture, width, height);
}

ScreenRect WindowPictureGeometry::inClientPicture(const ScreenRect& onScreen) const {
    const std::int32_t x = frameCorner.x + clientOffset.x;
    const std::int32_t y = frameCorner.y + clientOffset.y;
    return {onScreen.left - x, onScreen.top - y, onScreen.right - x, onScreen.bottom - y};
}

bool WindowPictureGeometry::isClientPicture(const RawImageLayout& layout) const {
    return layout.width == std::llround(clientSize.x * layout.scale) &&
           layout.height == std::llround(clientSize.y * layout.scale);
}

ScreenPoint clientOffsetOf(ScreenPoint frameCorner, ScreenPoint bufferCorner,
                           std::optional<ScreenPoint> x11ClientCorner) {
    const ScreenPoint picture = x11ClientCorner.value_or(bufferCorner);
    return {picture.x - frameCorner.x, picture.y - frameCorner.y};
}

}  // namespace skl
