// The lettered buttons: a one-pixel yellow frame round #8080FF ground with white
// lettering in the bold button face.

#include <initializer_list>
#include <string_view>

#include "Colours.h"
#include "PixelFont.h"
#include "Pictures.h"

namespace skl::art {
namespace {

constexpr int wideButton = 61;
constexpr int narrowButton = 23;
constexpr int buttonHeight = 22;

struct Lettering {
    std::string_view text;
    Point lineTop;  // row 0 of the font's line, so capitals start one row lower
};

Picture letteredButton(int width, const Font& font, std::initializer_list<Lettering> lines) {
    Picture picture = blankPicture(width, buttonHeight, colour::ground);
    drawFrame(picture, colour::yellow);
    for (const Lettering& line : lines) paintMask(picture, setText(font, line.text, line.lineTop), colour::white);
    return picture;
}

}  // namespace

Picture directionsButton() { return letteredButton(wideButton, buttonFont(), {{"Directions", {2, 6}}}); }

Picture previewButton() { return letteredButton(wideButton, buttonFont(), {{"Preview", {7, 5}}}); }

// The only lettering that fills the whole inner width, with k, l and d one pixel taller.
Picture pickFolderButton() {
    return letteredButton(wideButton, withTallAscenders(buttonFont(), "kld"), {{"Pick Folder", {1, 6}}});
}

Picture newCamButton() { return letteredButton(wideButton, buttonFont(), {{"New Cam", {5, 5}}}); }

Picture onTopButton() { return letteredButton(narrowButton, buttonFont(), {{"On", {5, 1}}, {"Top", {1, 10}}}); }

Picture exitButton() { return letteredButton(narrowButton, buttonFont(), {{"Exit", {2, 6}}}); }

Picture pressedLook(const Picture& normal, std::span<const int> strikeRows) {
    Picture pressed = normal;
    recolour(pressed, colour::white, colour::lightGrey);
    recolour(pressed, colour::yellow, colour::red);
    for (const int row : strikeRows) fillRect(pressed, 1, row, pressed.width - 2, row, colour::yellow);
    return pressed;
}

}  // namespace skl::art
