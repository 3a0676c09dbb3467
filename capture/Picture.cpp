#include "Picture.h"

#include <algorithm>
#include <array>

namespace skl {
namespace {

// The source pixels along one axis that target pixel `at` covers, and how much of
// each, in units of 1 / `to` of a source pixel.
template <typename Visit>
void coveredSpan(std::int64_t at, std::int64_t from, std::int64_t to, Visit visit) {
    const std::int64_t start = at * from;
    const std::int64_t end = (at + 1) * from;
    for (std::int64_t source = start / to; source * to < end; ++source) {
        visit(source, std::min(end, (source + 1) * to) - std::max(start, source * to));
    }
}

}  // namespace

Picture scaledPicture(const Picture& source, std::int32_t width, std::int32_t height) {
    Picture scaled{width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height)};
    if (source.width <= 0 || source.height <= 0) return scaled;
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            std::array<std::int64_t, 3> sums{};
            std::int64_t weights = 0;
            coveredSpan(y, source.height, height, [&](std::int64_t sy, std::int64_t weightY) {
                coveredSpan(x, source.width, width, [&](std::int64_t sx, std::int64_t weightX) {
                    const std::uint32_t pixel =
                        source.at(static_cast<std::int32_t>(sx), static_cast<std::int32_t>(sy));
                    for (std::size_t channel = 0; channel < 3; ++channel) {
                        sums[channel] += weightX * weightY * (pixel >> (16 - 8 * channel) & 0xFF);
                    }
                    weights += weightX * weightY;
                });
            });
            std::uint32_t mean = 0;
            for (const std::int64_t sum : sums) mean = mean << 8 | static_cast<std::uint32_t>((sum + weights / 2) / weights);
            scaled.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] = mean;
        }
    }
    return scaled;
}

}  // namespace skl
