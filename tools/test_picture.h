#pragma once
// The sample webcam viewer's test picture: outside a text band at the bottom of the
// client area, every pixel is a fixed function of its client position and the frame
// number. Shared by the viewer, which paints it, and the benchmark, which checks
// grabbed pictures against it.

#include <cstdint>

namespace skl::test_picture {

// Height of the band at the bottom of the client area that shows the ID and frame as text.
inline constexpr int textBandHeight = 20;

// Where the frame number is drawn: 16 cells of 10 x 10 pixels, least significant bit first.
inline constexpr int frameCellsLeft = 40;
inline constexpr int frameCellsTop = 48;
inline constexpr int frameCellSize = 10;
inline constexpr int frameBits = 16;

struct Rgb {
    std::uint8_t r, g, b;
};

// The test picture at client position (x, y) of frame `frame`.
inline Rgb pixel(int x, int y, std::uint32_t frame) {
    const int shift = static_cast<int>(frame % 64u) * 4;

    // Frame number as a row of 16 cells, least significant bit first.
    if (y >= frameCellsTop && y < frameCellsTop + frameCellSize && x >= frameCellsLeft &&
        x < frameCellsLeft + frameBits * frameCellSize) {
        const int bit = (x - frameCellsLeft) / frameCellSize;
        const bool set = ((frame >> bit) & 1u) != 0;
        const bool edge = (x - frameCellsLeft) % frameCellSize == 0;
        if (edge) return {255, 0, 0};
        return set ? Rgb{255, 255, 255} : Rgb{0, 0, 0};
    }

    // Colour bars across the top, moving one bar per frame.
    if (y < 40) {
        static constexpr Rgb bars[8] = {{255, 255, 255}, {255, 255, 0}, {0, 255, 255}, {0, 255, 0},
                                        {255, 0, 255},   {255, 0, 0},   {0, 0, 255},   {0, 0, 0}};
        return bars[(x / 40 + static_cast<int>(frame)) % 8];
    }

    // A face in the middle.
    const int dx = x - 180;
    const int dy = y - 160;
    const int d2 = dx * dx + dy * dy;
    if (d2 < 70 * 70) {
        if (d2 >= 66 * 66) return {0, 0, 0};
        const int ex = dx < 0 ? dx + 25 : dx - 25;
        const int ey = dy + 22;
        if (ex * ex + ey * ey < 10 * 10) return {0, 0, 64};
        if (dy > 10 && d2 >= 36 * 36 && d2 < 42 * 42) return {160, 0, 0};
        return {255, static_cast<std::uint8_t>(200 + (x + y) % 32), 0};
    }

    // A grid over a gradient everywhere else.
    if (x % 32 == 0 || y % 32 == 0) return {32, 32, 32};
    return {static_cast<std::uint8_t>(x * 2 + shift), static_cast<std::uint8_t>(y * 3),
            static_cast<std::uint8_t>(128 + ((x ^ y) & 127))};
}

}  // namespace skl::test_picture
