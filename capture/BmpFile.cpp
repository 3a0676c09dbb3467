#include "BmpFile.h"

namespace skl {
namespace {

constexpr std::size_t fileHeaderSize = 14;
constexpr std::size_t infoHeaderSize = 40;
constexpr std::size_t pixelOffset = fileHeaderSize + infoHeaderSize;

std::size_t rowStride(std::int32_t width) {
    return (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
}

void put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
    out[at] = static_cast<std::uint8_t>(value);
    out[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
    put16(out, at, value & 0xFFFF);
    put16(out, at + 2, value >> 16);
}

std::uint32_t get16(std::span<const std::uint8_t> in, std::size_t at) {
    return static_cast<std::uint32_t>(in[at]) | static_cast<std::uint32_t>(in[at + 1]) << 8;
}

std::uint32_t get32(std::span<const std::uint8_t> in, std::size_t at) {
    return get16(in, at) | get16(in, at + 2) << 16;
}

}  // namespace

std::vector<std::uint8_t> encodeBmp24(const Picture& picture, std::int32_t pixelsPerMetre) {
    const std::size_t stride = rowStride(picture.width);
    const std::size_t imageSize = stride * static_cast<std::size_t>(picture.height);
    std::vector<std::uint8_t> out(pixelOffset + imageSize, 0);

    out[0] = 'B';
    out[1] = 'M';
    put32(out, 2, static_cast<std::uint32_t>(out.size()));
    put32(out, 10, pixelOffset);
    put32(out, 14, infoHeaderSize);
    put32(out, 18, static_cast<std::uint32_t>(picture.width));
    put32(out, 22, static_cast<std::uint32_t>(picture.height));  // positive: bottom-up
    put16(out, 26, 1);                                           // planes
    put16(out, 28, 24);                                          // bits per pixel
    put32(out, 34, static_cast<std::uint32_t>(imageSize));
    put32(out, 38, static_cast<std::uint32_t>(pixelsPerMetre));
    put32(out, 42, static_cast<std::uint32_t>(pixelsPerMetre));

    for (std::int32_t y = 0; y < picture.height; ++y) {
        std::uint8_t* row = out.data() + pixelOffset + stride * static_cast<std::size_t>(picture.height - 1 - y);
        for (std::int32_t x = 0; x < picture.width; ++x) {
            const std::uint32_t rgb = picture.at(x, y);
            *row++ = static_cast<std::uint8_t>(rgb);        // blue
            *row++ = static_cast<std::uint8_t>(rgb >> 8);   // green
            *row++ = static_cast<std::uint8_t>(rgb >> 16);  // red
        }
    }
    return out;
}

std::optional<Picture> decodeBmp24(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < pixelOffset || bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
    if (get32(bytes, 14) < infoHeaderSize || get16(bytes, 28) != 24 || get32(bytes, 30) != 0) return std::nullopt;
    const auto width = static_cast<std::int32_t>(get32(bytes, 18));
    const auto signedHeight = static_cast<std::int32_t>(get32(bytes, 22));
    if (width <= 0 || signedHeight == 0 || signedHeight == INT32_MIN) return std::nullopt;
    const bool bottomUp = signedHeight > 0;
    const std::int32_t height = bottomUp ? signedHeight : -signedHeight;
    const std::size_t offset = get32(bytes, 10);
    // In 64 bits, so that a huge width claimed by a damaged file cannot wrap around.
    const std::uint64_t wideStride = (std::uint64_t{static_cast<std::uint32_t>(width)} * 3 + 3) & ~std::uint64_t{3};
    if (offset > bytes.size() || (bytes.size() - offset) / wideStride < static_cast<std::uint64_t>(height)) {
        return std::nullopt;
    }
    const auto stride = static_cast<std::size_t>(wideStride);

    Picture picture{width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * static_cast<std::size_t>(height))};
    for (std::int32_t y = 0; y < height; ++y) {
        const std::size_t fileRow = static_cast<std::size_t>(bottomUp ? height - 1 - y : y);
        const std::uint8_t* row = bytes.data() + offset + stride * fileRow;
        for (std::int32_t x = 0; x < width; ++x, row += 3) {
            picture.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] =
                static_cast<std::uint32_t>(row[0]) | static_cast<std::uint32_t>(row[1]) << 8 |
                static_cast<std::uint32_t>(row[2]) << 16;
        }
    }
    return picture;
}

}  // namespace skl
