#pragma once
// A picture held in memory: rows from the top, each pixel 0x00RRGGBB; and the
// same picture at another size.

#include <cstdint>
#include <vector>

namespace skl {

struct Picture {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint32_t> pixels;  // width * height, row by row from the top

    std::uint32_t at(std::int32_t x, std::int32_t y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
    }
    bool operator==(const Picture&) const = default;
};

// The picture at another size: each pixel the mean colour of the part of the source
// it covers (exact fractions of pixels, for any ratio up or down).
Picture scaledPicture(const Picture& source, std::int32_t width, std::int32_t height);

}  // namespace skl
