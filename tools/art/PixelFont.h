#pragma once
// Pixel typefaces drawn from little bitmaps, and setting a line of text in one.

#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "Canvas.h"

namespace skl::art {

// One character: rows of '#' (ink) and '.' (ground), the first at row `top` of the line.
struct Glyph {
    int top = 0;
    std::vector<std::string> rows;

    int width() const { return rows.empty() ? 0 : static_cast<int>(rows.front().size()); }
};

struct Font {
    std::map<char, Glyph> glyphs;
    int letterGap = 1;  // ground columns between the letters of a word
    int wordGap = 3;    // ground columns between words
};

// How a line set to a given width takes up the extra columns.
enum class Stretch { wordGaps, allGaps };

// Width of the line's ink from the first letter's left column to the last one's right.
int textWidth(const Font& font, std::string_view text);

// The ink of one line whose top row (row 0 of the glyphs) is at lineTop.y and whose
// first letter starts at lineTop.x. A width other than 0 widens the gaps, the first
// ones first, so that the line is exactly that wide. Throws std::invalid_argument for a
// character the font lacks or a line wider than the width asked for.
Mask setText(const Font& font, std::string_view text, Point lineTop, int width = 0,
             Stretch stretch = Stretch::wordGaps);

// The font with each glyph column c drawn columnWidths[c] pixels wide and each line
// row r rowHeights[r] pixels high.
Font scaledFont(const Font& font, std::span<const int> columnWidths, std::span<const int> rowHeights);

// The font with the given letters' ascenders one pixel taller (their first row doubled).
Font withTallAscenders(const Font& font, std::string_view letters);

// The fonts of the pictures.
const Font& buttonFont();  // bold, two-pixel strokes; capitals 8 high from row 1
const Font& serifFont();   // small, one-pixel strokes with serifs; capitals 9 high from row 1
const Font& blockFont();   // 5 x 7 capitals from row 0, to be scaled up

}  // namespace skl::art
