#include "PixelFormat.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace skl {
namespace {

constexpr int widestChannel = 16;

}  // namespace

std::optional<PixelFormat> PixelFormat::of(int bitsPerPixel, bool mostSignificantByteFirst, std::uint32_t redMask,
                                           std::uint32_t greenMask, std::uint32_t blueMask) {
    if (bitsPerPixel != 16 && bitsPerPixel != 24 && bitsPerPixel != 32) return std::nullopt;
    if ((redMask & greenMask) != 0 || (redMask & blueMask) != 0 || (greenMask & blueMask) != 0) return std::nullopt;
    const std::uint32_t pixelMask = bitsPerPixel == 32 ? ~0u : (1u << bitsPerPixel) - 1;

    Channel channels[3];
    const std::uint32_t masks[3] = {redMask, greenMask, blueMask};
    for (int i = 0; i < 3; ++i) {
        const std::uint32_t mask = masks[i];
        if (mask == 0 || (mask & ~pixelMask) != 0) return std::nullopt;
        const int shift = std::countr_zero(mask);
        const std::uint32_t bits = mask >> shift;
        if ((bits & (bits + 1)) != 0) return std::nullopt;  // not contiguous
        const int width = std::popcount(bits);
        if (width > widestChannel) return std::nullopt;
        channels[i] = Channel{shift, width, bits};
    }
    return PixelFormat(static_cast<std::size_t>(bitsPerPixel / 8), mostSignificantByteFirst, channels[0],
                       channels[1], channels[2]);
}

std::size_t PixelFormat::rowBytes(std::size_t width, std::size_t scanlinePad) const {
    const std::size_t pad = std::max<std::size_t>(scanlinePad, 8);
    return (width * bytesPerPixel_ * 8 + pad - 1) / pad * pad / 8;
}

std::uint32_t PixelFormat::Channel::toByte(std::uint32_t pixel) const {
    const std::uint32_t value = pixel >> shift & maximum;
    if (bits >= 8) return value >> (bits - 8);
    return (value * 255 + maximum / 2) / maximum;  // the nearest of 0-255
}

std::uint32_t PixelFormat::Channel::fromByte(std::uint32_t value) const {
    if (bits >= 8) return value << (bits - 8) << shift;
    return (value * maximum + 127) / 255 << shift;
}

std::uint32_t PixelFormat::load(const std::uint8_t* bytes) const {
    std::uint32_t pixel = 0;
    for (std::size_t i = 0; i < bytesPerPixel_; ++i) {
        const std::size_t significance = mostSignificantByteFirst_ ? bytesPerPixel_ - 1 - i : i;
        pixel |= std::uint32_t{bytes[i]} << (8 * significance);
    }
    return pixel;
}

void PixelFormat::store(std::uint32_t pixel, std::uint8_t* bytes) const {
    for (std::size_t i = 0; i < bytesPerPixel_; ++i) {
        const std::size_t significance = mostSignificantByteFirst_ ? bytesPerPixel_ - 1 - i : i;
        bytes[i] = static_cast<std::uint8_t>(pixel >> (8 * significance));
    }
}

void PixelFormat::readRow(std::span<const std::uint8_t> row, std::span<std::uint32_t> colours) const {
    const std::size_t count = std::min(colours.size(), row.size() / bytesPerPixel_);
    if (bytesPerPixel_ == 4 && mostSignificantByteFirst_ == (std::endian::native == std::endian::big) &&
        red_.bits == 8 && green_.bits == 8 && blue_.bits == 8) {
        // The common layouts, which a grab must read fast: whole 32-bit words in this
        // machine's byte order, a byte for each colour; most often already 0x..RRGGBB.
        if (red_.shift == 16 && green_.shift == 8 && blue_.shift == 0) {
            std::memcpy(colours.data(), row.data(), count * 4);
            for (std::size_t x = 0; x < count; ++x) colours[x] &= 0xFFFFFF;
            return;
        }
        for (std::size_t x = 0; x < count; ++x) {
            std::uint32_t pixel;
            std::memcpy(&pixel, row.data() + x * 4, 4);
            colours[x] = (pixel >> red_.shift & 0xFF) << 16 | (pixel >> green_.shift & 0xFF) << 8 |
                         (pixel >> blue_.shift & 0xFF);
        }
        return;
    }
    for (std::size_t x = 0; x < count; ++x) {
        const std::uint32_t pixel = load(row.data() + x * bytesPerPixel_);
        colours[x] = red_.toByte(pixel) << 16 | green_.toByte(pixel) << 8 | blue_.toByte(pixel);
    }
}

std::uint32_t PixelFormat::pixelValue(std::uint32_t colour) const {
    return red_.fromByte(colour >> 16 & 0xFF) | green_.fromByte(colour >> 8 & 0xFF) | blue_.fromByte(colour & 0xFF);
}

void PixelFormat::writeRow(std::span<const std::uint32_t> colours, std::span<std::uint8_t> row) const {
    const std::size_t count = std::min(colours.size(), row.size() / bytesPerPixel_);
    for (std::size_t x = 0; x < count; ++x) store(pixelValue(colours[x]), row.data() + x * bytesPerPixel_);
}

}  // namespace skl
