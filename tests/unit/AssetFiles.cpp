#include "AssetFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "capture/BmpFile.h"

namespace skl::test {

std::vector<std::uint8_t> readAssetFile(const std::string& fileName) {
    std::ifstream in(std::string(SKELLIMOR_SOURCE_DIR) + "/assets/" + fileName, std::ios::binary);
    EXPECT_TRUE(in) << "assets/" << fileName << " is missing";
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Picture loadAssetBitmap(const std::string& fileName) {
    const std::optional<Picture> picture = decodeBmp24(readAssetFile(fileName));
    EXPECT_TRUE(picture.has_value()) << fileName << " is no 24-bit bitmap";
    return picture.value_or(Picture{});
}

std::uint16_t read16(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes.at(at) | bytes.at(at + 1) << 8);
}

std::uint32_t read32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return read16(bytes, at) | static_cast<std::uint32_t>(read16(bytes, at + 2)) << 16;
}

std::optional<Box> boxOf(const Picture& picture, const std::function<bool(std::uint32_t)>& wanted, Box within) {
    std::optional<Box> box;
    for (int y = std::max(within.top, 0); y <= std::min(within.bottom, picture.height - 1); ++y)
        for (int x = std::max(within.left, 0); x <= std::min(within.right, picture.width - 1); ++x) {
            if (!wanted(picture.at(x, y))) continue;
            if (!box) box = Box{x, y, x, y};
            box->left = std::min(box->left, x);
            box->right = std::max(box->right, x);
            box->top = std::min(box->top, y);
            box->bottom = std::max(box->bottom, y);
        }
    return box;
}

std::optional<Box> boxOf(const Picture& picture, std::uint32_t colour, Box within) {
    return boxOf(picture, [colour](std::uint32_t c) { return c == colour; }, within);
}

}  // namespace skl::test
