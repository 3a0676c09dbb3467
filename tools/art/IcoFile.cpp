#include "IcoFile.h"

#include "capture/BmpFile.h"

namespace skl::art {
namespace {

void put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

void patch32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace

std::vector<std::uint8_t> encodeIco24(const Picture& picture) {
    // The bitmap encoder's information header and bottom-up rows are exactly the
    // icon image's; only the height and the image size change.
    constexpr std::size_t bmpFileHeader = 14;
    const std::vector<std::uint8_t> bmp = encodeBmp24(picture, 0);
    const std::size_t maskStride = ((static_cast<std::size_t>(picture.width) + 31) / 32) * 4;
    const std::size_t maskSize = maskStride * static_cast<std::size_t>(picture.height);
    std::vector<std::uint8_t> image(bmp.begin() + bmpFileHeader, bmp.end());
    const std::size_t colourSize = bmp.size() - bmpFileHeader - 40;
    patch32(image, 8, static_cast<std::uint32_t>(picture.height * 2));
    patch32(image, 20, static_cast<std::uint32_t>(colourSize + maskSize));
    image.resize(image.size() + maskSize, 0);

    std::vector<std::uint8_t> out;
    put16(out, 0);  // reserved
    put16(out, 1);  // icon
    put16(out, 1);  // one image
    out.push_back(static_cast<std::uint8_t>(picture.width));
    out.push_back(static_cast<std::uint8_t>(picture.height));
    out.push_back(0);  // no colour table
    out.push_back(0);
    put16(out, 1);   // planes
    put16(out, 24);  // bits per pixel
    put32(out, static_cast<std::uint32_t>(image.size()));
    put32(out, static_cast<std::uint32_t>(icoDirectorySize));
    out.insert(out.end(), image.begin(), image.end());
    return out;
}

}  // namespace skl::art
