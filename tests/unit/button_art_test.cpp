// The lettered button pictures: their colours, frame, lettering places and the rule
// that makes the index-1 look of a pair from index 0.

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "AssetFiles.h"

namespace skl::test {
namespace {

constexpr std::uint32_t ground = 0x8080FF, white = 0xFFFFFF, yellow = 0xFFFF00, grey = 0xC0C0C0, red = 0xFF0000;

struct Button {
    std::string file;
    int width;
    std::vector<Box> lettering;  // one box per line of lettering
    bool touchesLeft, touchesRight;
};

const std::vector<Button> buttons = {
    {"directions0.bmp", 61, {{2, 7, 57, 14}}, false, false},
    {"prev0.bmp", 61, {{7, 6, 50, 13}}, false, false},
    {"pick0.bmp", 61, {{1, 6, 59, 14}}, true, true},
    {"newcam0.bmp", 61, {{5, 6, 54, 13}}, false, false},
    {"ontop0.bmp", 23, {{5, 2, 18, 9}, {1, 11, 20, 20}}, true, false},
    {"xit.bmp", 23, {{2, 7, 20, 14}}, false, false},
};

bool isFrame(const Picture& p, int x, int y) { return x == 0 || y == 0 || x == p.width - 1 || y == p.height - 1; }

TEST(ButtonArt, NormalLookIsWhiteLetteringInAYellowRingOnWindowGround) {
    for (const Button& button : buttons) {
        SCOPED_TRACE(button.file);
        const Picture p = loadAssetBitmap(button.file);
        ASSERT_EQ(p.width, button.width);
        ASSERT_EQ(p.height, 22);
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x) {
                const std::uint32_t c = p.at(x, y);
                if (isFrame(p, x, y))
                    ASSERT_EQ(c, yellow) << x << "," << y;
                else
                    ASSERT_TRUE(c == ground || c == white) << x << "," << y << " is " << std::hex << c;
            }
    }
}

TEST(ButtonArt, LetteringStandsInItsBoxesAndTouchesTheFrameOnlyWhereItShould) {
    for (const Button& button : buttons) {
        SCOPED_TRACE(button.file);
        const Picture p = loadAssetBitmap(button.file);
        // The lines of "On Top" are told apart by the empty row between them (row 10).
        int top = 0;
        for (const Box& expected : button.lettering) {
            const int bottom = &expected == &button.lettering.back() ? p.height - 1 : expected.bottom + 1;
            EXPECT_EQ(boxOf(p, white, {0, top, p.width - 1, bottom}), expected);
            top = bottom + 1;
        }
        EXPECT_EQ(boxOf(p, white, {1, 0, 1, p.height - 1}).has_value(), button.touchesLeft);
        EXPECT_EQ(boxOf(p, white, {p.width - 2, 0, p.width - 2, p.height - 1}).has_value(), button.touchesRight);
    }
}

TEST(ButtonArt, LetteringIsBoldWithCapitalsEightPixelsHigh) {
    // The capital at the start of each single-line button fills all eight rows of its box.
    for (const std::string file : {"directions0.bmp", "prev0.bmp", "newcam0.bmp", "xit.bmp"}) {
        SCOPED_TRACE(file);
        const Picture p = loadAssetBitmap(file);
        const Box box = *boxOf(p, white);
        EXPECT_EQ(box.bottom - box.top + 1, 8);
        for (int y = box.top; y <= box.bottom; ++y) {
            EXPECT_EQ(p.at(box.left, y), white) << "row " << y;
            EXPECT_EQ(p.at(box.left + 1, y), white) << "two-pixel stem, row " << y;
        }
    }
}

struct Pair {
    std::string normal, other;
    std::set<int> strikeRows;
};

TEST(ButtonArt, IndexOneIsIndexZeroRecolouredPlusTheSwitchesStrikeBars) {
    const std::vector<Pair> pairs = {
        {"directions0.bmp", "directions1.bmp", {}}, {"newcam0.bmp", "newcam1.bmp", {}},
        {"pick0.bmp", "pick1.bmp", {}},             {"prev0.bmp", "prev1.bmp", {10, 11}},
        {"ontop0.bmp", "ontop1.bmp", {5, 6, 15, 16}},
    };
    for (const Pair& pair : pairs) {
        SCOPED_TRACE(pair.other);
        const Picture normal = loadAssetBitmap(pair.normal);
        const Picture other = loadAssetBitmap(pair.other);
        ASSERT_EQ(other.width, normal.width);
        ASSERT_EQ(other.height, normal.height);
        bool barCrossesLettering = pair.strikeRows.empty();
        for (int y = 0; y < normal.height; ++y)
            for (int x = 0; x < normal.width; ++x) {
                const std::uint32_t was = normal.at(x, y);
                std::uint32_t expected = was == white ? grey : was == yellow ? red : was;
                if (pair.strikeRows.contains(y) && !isFrame(normal, x, y)) {
                    expected = yellow;
                    barCrossesLettering |= was == white;
                }
                ASSERT_EQ(other.at(x, y), expected) << x << "," << y;
            }
        EXPECT_TRUE(barCrossesLettering) << "a strike bar misses the lettering";
    }
}

}  // namespace
}  // namespace skl::test
