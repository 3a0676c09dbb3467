#include "PixelFont.h"

#include <numeric>
#include <stdexcept>

namespace skl::art {
namespace {

const Glyph& glyphOf(const Font& font, char c) {
    const auto found = font.glyphs.find(c);
    if (found == font.glyphs.end()) throw std::invalid_argument(std::string("no glyph for '") + c + "'");
    return found->second;
}

// The gaps of a line in order: true for a word gap.
std::vector<bool> gapKinds(std::string_view text) {
    std::vector<bool> kinds;
    bool afterLetter = false;
    bool pendingSpace = false;
    for (const char c : text) {
        if (c == ' ') {
            pendingSpace = afterLetter;
            continue;
        }
        if (afterLetter) kinds.push_back(pendingSpace);
        afterLetter = true;
        pendingSpace = false;
    }
    return kinds;
}

int sum(std::span<const int> values, std::size_t count) {
    return std::accumulate(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(count), 0);
}

}  // namespace

int textWidth(const Font& font, std::string_view text) {
    int width = 0;
    for (const char c : text)
        if (c != ' ') width += glyphOf(font, c).width();
    for (const bool wordGap : gapKinds(text)) width += wordGap ? font.wordGap : font.letterGap;
    return width;
}

Mask setText(const Font& font, std::string_view text, Point lineTop, int width, Stretch stretch) {
    const std::vector<bool> kinds = gapKinds(text);
    std::vector<int> gaps;
    for (const bool wordGap : kinds) gaps.push_back(wordGap ? font.wordGap : font.letterGap);

    if (width != 0) {
        int extra = width - textWidth(font, text);
        if (extra < 0) throw std::invalid_argument("text wider than its place: " + std::string(text));
        std::vector<std::size_t> widened;
        for (std::size_t i = 0; i < kinds.size(); ++i)
            if (stretch == Stretch::allGaps || kinds[i]) widened.push_back(i);
        if (extra > 0 && widened.empty()) throw std::invalid_argument("no gap to widen in: " + std::string(text));
        for (std::size_t i = 0; extra > 0; ++i, --extra) ++gaps[widened[i % widened.size()]];
    }

    Mask ink;
    int x = lineTop.x;
    std::size_t gap = 0;
    for (const char c : text) {
        if (c == ' ') continue;
        const Glyph& glyph = glyphOf(font, c);
        for (std::size_t row = 0; row < glyph.rows.size(); ++row)
            for (std::size_t column = 0; column < glyph.rows[row].size(); ++column)
                if (glyph.rows[row][column] == '#')
                    ink.push_back({x + static_cast<int>(column), lineTop.y + glyph.top + static_cast<int>(row)});
        x += glyph.width();
        if (gap < gaps.size()) x += gaps[gap++];
    }
    return ink;
}

Font scaledFont(const Font& font, std::span<const int> columnWidths, std::span<const int> rowHeights) {
    Font result{{}, font.letterGap, font.wordGap};
    for (const auto& [c, glyph] : font.glyphs) {
        Glyph big{sum(rowHeights, static_cast<std::size_t>(glyph.top)), {}};
        for (std::size_t row = 0; row < glyph.rows.size(); ++row) {
            std::string wide;
            for (std::size_t column = 0; column < glyph.rows[row].size(); ++column)
                wide.append(static_cast<std::size_t>(columnWidths[column]), glyph.rows[row][column]);
            big.rows.insert(big.rows.end(), static_cast<std::size_t>(rowHeights[static_cast<std::size_t>(glyph.top) + row]),
                            wide);
        }
        result.glyphs.emplace(c, std::move(big));
    }
    return result;
}

Font withTallAscenders(const Font& font, std::string_view letters) {
    Font result = font;
    for (const char c : letters) {
        Glyph& glyph = result.glyphs.at(c);
        glyph.rows.insert(glyph.rows.begin(), glyph.rows.front());
        --glyph.top;
    }
    return result;
}

}  // namespace skl::art
