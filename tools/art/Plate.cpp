// The plate under the ID label: white with a red outline and rounded corners, on
// #8080FF ground that shows in row 0, row 30, column 143 and outside the corners.

#include <algorithm>

#include "Canvas.h"
#include "Colours.h"
#include "Outline.h"
#include "Pictures.h"

namespace skl::art {
namespace {

constexpr int left = 0;
constexpr int right = 142;
constexpr int top = 1;
constexpr int bottom = 29;
constexpr int cornerRadius = 7;

}  // namespace

Picture idPlate() {
    Picture picture = blankPicture(144, 31, colour::ground);
    fillOutlined(
        picture,
        [](int x, int y) {
            if (x < left || x > right || y < top || y > bottom) return false;
            // Distance past the straight part of the edge, towards the nearest corner.
            const int dx = std::max({0, left + cornerRadius - x, x - (right - cornerRadius)});
            const int dy = std::max({0, top + cornerRadius - y, y - (bottom - cornerRadius)});
            return (dx * dx + dy * dy) * 4 <= (2 * cornerRadius + 1) * (2 * cornerRadius + 1);
        },
        colour::red, colour::white);
    return picture;
}

}  // namespace skl::art
