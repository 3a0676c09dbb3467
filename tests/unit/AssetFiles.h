#pragma once
// Reading the committed picture files in assets/ for the tests.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "capture/Picture.h"

namespace skl::test {

std::vector<std::uint8_t> readAssetFile(const std::string& fileName);

// The bitmap decoded; fails the test (and returns an empty picture) when it is none.
Picture loadAssetBitmap(const std::string& fileName);

std::uint32_t read32(const std::vector<std::uint8_t>& bytes, std::size_t at);
std::uint16_t read16(const std::vector<std::uint8_t>& bytes, std::size_t at);

// The smallest rectangle (corners inclusive) holding every pixel of the wanted colour
// within the given rectangle; empty when there is none.
struct Box {
    int left, top, right, bottom;
    bool operator==(const Box&) const = default;
};
std::optional<Box> boxOf(const Picture& picture, const std::function<bool(std::uint32_t)>& wanted,
                         Box within = {0, 0, 1 << 20, 1 << 20});
std::optional<Box> boxOf(const Picture& picture, std::uint32_t colour, Box within = {0, 0, 1 << 20, 1 << 20});

}  // namespace skl::test
