// The link banner: black frame; the web address cut out of a white field on the
// left, the slogan in white on #8080FF ground on the right.

#include <string_view>

#include "Colours.h"
#include "PixelFont.h"
#include "Pictures.h"

namespace skl::art {
namespace {

constexpr int width = 324;
constexpr int height = 18;
constexpr int fieldRight = 134;  // the white field is columns 1-134
constexpr std::string_view address = "MORVATH.EXAMPLE";
constexpr std::string_view slogan = "Every smile, one click away.";

int centredLeft(int left, int right, int textWidth) { return left + (right - left + 1 - textWidth) / 2; }

}  // namespace

Picture linkBanner() {
    Picture picture = blankPicture(width, height, colour::ground);
    drawFrame(picture, colour::black);
    fillRect(picture, 1, 1, fieldRight, height - 2, colour::white);

    Font blocky = buttonFont();
    blocky.letterGap = 2;
    paintMask(picture, setText(blocky, address, {centredLeft(1, fieldRight, textWidth(blocky, address)), 4}),
              colour::ground);

    const Font& serif = serifFont();
    paintMask(picture, setText(serif, slogan, {centredLeft(fieldRight + 1, width - 2, textWidth(serif, slogan)), 2}),
              colour::white);
    return picture;
}

}  // namespace skl::art
