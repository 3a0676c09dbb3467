// The window icon's image: the logo figure's strokes on black, and a yellow smiley
// without outline in the lower left (columns 0-11, rows 19-31).

#include <array>
#include <string_view>

#include "Canvas.h"
#include "capture/Picture.h"
#include "Colours.h"
#include "Logo.h"
#include "Pictures.h"

namespace skl::art {
namespace {

constexpr std::array<std::string_view, 4> plusEye = {".#.", "###", "###", ".#."};  // rows 23-26

void drawPlus(Picture& picture, int left, int top) {
    for (std::size_t row = 0; row < plusEye.size(); ++row)
        for (std::size_t column = 0; column < plusEye[row].size(); ++column)
            if (plusEye[row][column] == '#')
                setPixel(picture, left + static_cast<int>(column), top + static_cast<int>(row), colour::skyBlue);
}

void drawSmiley(Picture& picture) {
    constexpr double cx = 6.0, cy = 25.5, rx = 6.0, ry = 6.5;
    for (int y = 19; y <= 31; ++y)
        for (int x = 0; x <= 11; ++x) {
            const double dx = (x + 0.5 - cx) / rx;
            const double dy = (y + 0.5 - cy) / ry;
            if (dx * dx + dy * dy <= 1.05) setPixel(picture, x, y, colour::yellow);
        }
    drawPlus(picture, 2, 23);
    drawPlus(picture, 7, 23);
    fillRect(picture, 2, 28, 9, 28, colour::white);
    fillRect(picture, 3, 29, 8, 29, colour::white);
    fillRect(picture, 4, 30, 7, 30, colour::white);
}

}  // namespace

Picture windowIcon() {
    Picture picture = blankPicture(32, 32, colour::black);
    drawLogoStrokes(picture);
    drawSmiley(picture);
    return picture;
}

Picture windowIconAt(int size) {
    return scaledPicture(windowIcon(), size, size);
}

}  // namespace skl::art
