// The start-up splash of the preview: the logo figure on black, the title lettering
// at the upper right and the rights notice along the bottom.

#include <array>
#include <string_view>

#include "Canvas.h"
#include "Colours.h"
#include "Logo.h"
#include "PixelFont.h"
#include "Pictures.h"

namespace skl::art {
namespace {

constexpr int width = 322;
constexpr int height = 242;

// The block capitals grow from 5 x 7 cells; the middle bars keep their full weight.
constexpr std::array<int, 7> blockRows = {2, 2, 1, 2, 2, 2, 2};  // 13 rows
constexpr std::array<int, 5> nameColumns = {3, 3, 3, 3, 3};
constexpr std::array<int, 5> handleColumns = {2, 2, 2, 2, 2};

constexpr std::string_view handle = "MORVATH";
constexpr std::string_view nameLines[] = {"MORVATH'S", "SKELLIMOR"};
constexpr std::string_view rightsNotice = "(C) 2026 Morvath. All rights reserved.";

// The handle: thin, widely spaced capitals shaded from light violet at the top to
// dark at the bottom, over a one-pixel shadow; columns 156-289, rows 4-17.
void drawHandle(Picture& picture) {
    constexpr int left = 156, top = 4, spanWithShadow = 134;
    const Font font = scaledFont(blockFont(), handleColumns, blockRows);
    const Mask ink = setText(font, handle, {left, top}, spanWithShadow - 1, Stretch::allGaps);
    for (const Point& p : ink) setPixel(picture, p.x + 1, p.y + 1, scaled(colour::logoViolet, 0.3));
    for (const Point& p : ink) {
        const double depth = (p.y - top) / 12.0;
        setPixel(picture, p.x, p.y, scaled(colour::logoViolet, depth < 0.5 ? 1.0 : 1.0 - (depth - 0.5) * 0.7));
    }
}

// The product name on two lines, the second set further right to end at column 320.
void drawName(Picture& picture) {
    Font font = scaledFont(blockFont(), nameColumns, blockRows);
    font.letterGap = 2;
    paintMask(picture, setText(font, nameLines[0], {150, 24}), colour::red);
    paintMask(picture, setText(font, nameLines[1], {321 - textWidth(font, nameLines[1]), 40}), colour::red);
}

// Columns 58-252: the word spaces take up what the letters leave.
void drawRightsNotice(Picture& picture) {
    paintMask(picture, setText(serifFont(), rightsNotice, {58, 227}, 195), colour::ground);
}

}  // namespace

Picture splash() {
    Picture picture = blankPicture(width, height, colour::black);
    drawLogoFigure(picture);
    drawHandle(picture);
    drawName(picture);
    drawRightsNotice(picture);
    return picture;
}

}  // namespace skl::art
