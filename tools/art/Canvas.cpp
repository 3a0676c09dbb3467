#include "Canvas.h"

#include <algorithm>
#include <cmath>

namespace skl::art {
namespace {

std::size_t indexOf(const Picture& picture, int x, int y) {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width) + static_cast<std::size_t>(x);
}

bool contains(const Picture& picture, int x, int y) {
    return x >= 0 && y >= 0 && x < picture.width && y < picture.height;
}

std::uint32_t channel(std::uint32_t colour, int shift) { return (colour >> shift) & 0xFF; }

std::uint32_t fromChannels(double r, double g, double b) {
    const auto clamp = [](double v) { return static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0, 255.0))); };
    return clamp(r) << 16 | clamp(g) << 8 | clamp(b);
}

}  // namespace

Picture blankPicture(int width, int height, std::uint32_t colour) {
    return Picture{width, height,
                   std::vector<std::uint32_t>(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), colour)};
}

void setPixel(Picture& picture, int x, int y, std::uint32_t colour) {
    if (contains(picture, x, y)) picture.pixels[indexOf(picture, x, y)] = colour;
}

void fillRect(Picture& picture, int left, int top, int right, int bottom, std::uint32_t colour) {
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x) setPixel(picture, x, y, colour);
}

void drawFrame(Picture& picture, std::uint32_t colour) {
    const int right = picture.width - 1;
    const int bottom = picture.height - 1;
    fillRect(picture, 0, 0, right, 0, colour);
    fillRect(picture, 0, bottom, right, bottom, colour);
    fillRect(picture, 0, 0, 0, bottom, colour);
    fillRect(picture, right, 0, right, bottom, colour);
}

void paintMask(Picture& picture, const Mask& mask, std::uint32_t colour) {
    for (const Point& p : mask) setPixel(picture, p.x, p.y, colour);
}

void recolour(Picture& picture, std::uint32_t from, std::uint32_t to) {
    std::replace(picture.pixels.begin(), picture.pixels.end(), from, to);
}

std::uint32_t blend(std::uint32_t a, std::uint32_t b, double share) {
    const auto mix = [&](int shift) { return channel(a, shift) * share + channel(b, shift) * (1.0 - share); };
    return fromChannels(mix(16), mix(8), mix(0));
}

std::uint32_t scaled(std::uint32_t colour, double factor) {
    return fromChannels(channel(colour, 16) * factor, channel(colour, 8) * factor, channel(colour, 0) * factor);
}

void paintShape(Picture& picture, int left, int top, int right, int bottom,
                const std::function<bool(double x, double y)>& inside,
                const std::function<std::uint32_t(int x, int y)>& shade) {
    constexpr int samples = 4;
    for (int y = std::max(top, 0); y <= std::min(bottom, picture.height - 1); ++y) {
        for (int x = std::max(left, 0); x <= std::min(right, picture.width - 1); ++x) {
            int hits = 0;
            for (int sy = 0; sy < samples; ++sy)
                for (int sx = 0; sx < samples; ++sx)
                    hits += inside(x + (sx + 0.5) / samples, y + (sy + 0.5) / samples) ? 1 : 0;
            if (hits == 0) continue;
            std::uint32_t& pixel = picture.pixels[indexOf(picture, x, y)];
            pixel = hits == samples * samples ? shade(x, y)
                                              : blend(shade(x, y), pixel, static_cast<double>(hits) / (samples * samples));
        }
    }
}

}  // namespace skl::art
