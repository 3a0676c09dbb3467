#pragma once
// The layout of one pixel in the images that the X server sends and takes (Z
// format): its size, its byte order and where red, green and blue lie in it. The
// layout is read from the screen's visual, never assumed.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace skl {

class PixelFormat {
public:
    // Nothing unless pixels are 16, 24 or 32 bits and each colour has a contiguous
    // mask of 1 to 16 bits within the pixel that overlaps no other colour's.
    static std::optional<PixelFormat> of(int bitsPerPixel, bool mostSignificantByteFirst, std::uint32_t redMask,
                                         std::uint32_t greenMask, std::uint32_t blueMask);

    std::size_t bytesPerPixel() const { return bytesPerPixel_; }
    // The bytes of a row of `width` pixels padded to a multiple of `scanlinePad` bits.
    std::size_t rowBytes(std::size_t width, std::size_t scanlinePad) const;

    // The row's pixels as 0x00RRGGBB colours, as many as both spans hold.
    void readRow(std::span<const std::uint8_t> row, std::span<std::uint32_t> colours) const;
    // The pixel value of a colour (0x00RRGGBB), as drawing requests take it.
    std::uint32_t pixelValue(std::uint32_t colour) const;
    // The colours (0x00RRGGBB) as the row's pixels, as many as both spans hold.
    void writeRow(std::span<const std::uint32_t> colours, std::span<std::uint8_t> row) const;

private:
    // One colour's bits in the pixel.
    struct Channel {
        int shift = 0;
        int bits = 0;
        std::uint32_t maximum = 0;
        std::uint32_t toByte(std::uint32_t pixel) const;
        std::uint32_t fromByte(std::uint32_t value) const;
    };

    PixelFormat(std::size_t bytesPerPixel, bool mostSignificantByteFirst, Channel red, Channel green, Channel blue)
        : bytesPerPixel_(bytesPerPixel), mostSignificantByteFirst_(mostSignificantByteFirst), red_(red),
          green_(green), blue_(blue) {}

    std::uint32_t load(const std::uint8_t* bytes) const;
    void store(std::uint32_t pixel, std::uint8_t* bytes) const;

    std::size_t bytesPerPixel_;
    bool mostSignificantByteFirst_;
    Channel red_;
    Channel green_;
    Channel blue_;
};

}  // namespace skl
