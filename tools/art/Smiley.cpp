// The snapshot button: a yellow smiley with a red outline on #8080FF ground.

#include <array>
#include <string_view>

#include "Canvas.h"
#include "Colours.h"
#include "Outline.h"
#include "Pictures.h"

namespace skl::art {
namespace {

constexpr int centre = 15;
constexpr double radius = 14.5;  // 29 pixels across, columns and rows 1-29

constexpr std::array<std::string_view, 8> eye = {
    ".###.", "#####", "#####", "#####", "#####", "#####", "#####", ".###.",
};
constexpr int eyeTop = 9;
constexpr int leftEye = 7;
constexpr int rightEye = 19;

// Half-widths of the grin's rows from its straight upper edge (row 21) down to its
// 7-pixel bottom (row 26).
constexpr std::array<int, 6> grinHalfWidths = {8, 8, 7, 6, 5, 3};
constexpr int grinTop = 21;

void drawEye(Picture& picture, int left) {
    for (std::size_t row = 0; row < eye.size(); ++row)
        for (std::size_t column = 0; column < eye[row].size(); ++column)
            if (eye[row][column] == '#')
                setPixel(picture, left + static_cast<int>(column), eyeTop + static_cast<int>(row), colour::blue);
}

}  // namespace

Picture smileyButton() {
    Picture picture = blankPicture(32, 31, colour::ground);
    fillOutlined(
        picture,
        [](int x, int y) {
            const int dx = x - centre;
            const int dy = y - centre;
            return dx * dx + dy * dy <= radius * radius;
        },
        colour::red, colour::yellow);
    drawEye(picture, leftEye);
    drawEye(picture, rightEye);
    for (std::size_t row = 0; row < grinHalfWidths.size(); ++row) {
        const int y = grinTop + static_cast<int>(row);
        fillRect(picture, centre - grinHalfWidths[row], y, centre + grinHalfWidths[row], y, colour::white);
    }
    return picture;
}

}  // namespace skl::art
