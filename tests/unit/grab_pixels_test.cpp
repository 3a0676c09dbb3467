// The grab's own arithmetic: which part of a rectangle the X server can copy, and
// the pixel layouts of X images turned into 0x00RRGGBB colours.

#include <gtest/gtest.h>

#include <vector>

#include "capture/GrabArea.h"
#include "capture/PixelFormat.h"

namespace skl {
namespace {

constexpr std::int32_t screenWidth = 1600;
constexpr std::int32_t screenHeight = 1000;

std::optional<GrabArea> onScreen(ScreenRect rect) {
    return grabAreaOf(rect, screenWidth, screenHeight);
}

TEST(GrabArea, RectangleOnTheScreenIsCopiedWhole) {
    EXPECT_EQ(onScreen({226, 194, 548, 436}), (GrabArea{322, 242, 226, 194, 322, 242, 0, 0}));
    EXPECT_EQ(onScreen({0, 0, 1600, 1000}), (GrabArea{1600, 1000, 0, 0, 1600, 1000, 0, 0}));
}

TEST(GrabArea, PartsPastAnEdgeAreLeftOut) {
    // Past the left and top edges: the on-screen part lands further into the picture.
    EXPECT_EQ(onScreen({-14, -6, 308, 236}), (GrabArea{322, 242, 0, 0, 308, 236, 14, 6}));
    // Past the right and bottom edges.
    EXPECT_EQ(onScreen({1500, 900, 1822, 1142}), (GrabArea{322, 242, 1500, 900, 100, 100, 0, 0}));
    // Larger than the screen on every side.
    EXPECT_EQ(onScreen({-1, -1, 1601, 1001}), (GrabArea{1602, 1002, 0, 0, 1600, 1000, 1, 1}));
}

TEST(GrabArea, RectangleWhollyOffTheScreenIsAllBlack) {
    for (const ScreenRect rect : {ScreenRect{1600, 0, 1922, 242}, ScreenRect{0, 1000, 322, 1242},
                                  ScreenRect{-322, 0, 0, 242}, ScreenRect{INT32_MAX - 322, 0, INT32_MAX, 242},
                                  ScreenRect{INT32_MIN, INT32_MIN, INT32_MIN + 162, INT32_MIN + 122}}) {
        const auto area = onScreen(rect);
        ASSERT_TRUE(area);
        EXPECT_EQ(area->sourceWidth, 0);
        EXPECT_EQ(area->sourceHeight, 0);
        EXPECT_EQ(area->width, rect.right - rect.left);
    }
}

TEST(GrabArea, EmptyOrOversizedRectanglesAreRefused) {
    EXPECT_EQ(onScreen({10, 10, 10, 20}), std::nullopt);
    EXPECT_EQ(onScreen({10, 10, 20, 5}), std::nullopt);
    EXPECT_EQ(onScreen({0, 0, largestGrabSide + 1, 1}), std::nullopt);
    EXPECT_EQ(onScreen({INT32_MIN, 0, INT32_MAX, 1}), std::nullopt);  // width beyond 32 bits
    EXPECT_TRUE(onScreen({0, 0, largestGrabSide, 1}));
}

std::vector<std::uint32_t> read(const PixelFormat& format, std::vector<std::uint8_t> row, std::size_t count) {
    std::vector<std::uint32_t> colours(count, 0xDEADBEEF);
    format.readRow(row, colours);
    return colours;
}

TEST(PixelFormat, CommonTrueColourLayoutsAreRead) {
    // 24-bit depth in 32-bit pixels, least significant byte first: B G R x.
    const auto bgrx = PixelFormat::of(32, false, 0xFF0000, 0x00FF00, 0x0000FF);
    ASSERT_TRUE(bgrx);
    EXPECT_EQ(read(*bgrx, {0x33, 0x22, 0x11, 0xFF, 0x66, 0x55, 0x44, 0x00}, 2),
              (std::vector<std::uint32_t>{0x112233, 0x445566}));
    // The same masks with the most significant byte first: x R G B.
    const auto xrgb = PixelFormat::of(32, true, 0xFF0000, 0x00FF00, 0x0000FF);
    ASSERT_TRUE(xrgb);
    EXPECT_EQ(read(*xrgb, {0xFF, 0x11, 0x22, 0x33}, 1), (std::vector<std::uint32_t>{0x112233}));
    // Blue in the high byte.
    const auto rgbx = PixelFormat::of(32, false, 0x0000FF, 0x00FF00, 0xFF0000);
    ASSERT_TRUE(rgbx);
    EXPECT_EQ(read(*rgbx, {0x11, 0x22, 0x33, 0x00}, 1), (std::vector<std::uint32_t>{0x112233}));
    // Packed 24-bit pixels.
    const auto packed = PixelFormat::of(24, false, 0xFF0000, 0x00FF00, 0x0000FF);
    ASSERT_TRUE(packed);
    EXPECT_EQ(read(*packed, {0x33, 0x22, 0x11, 0x66, 0x55, 0x44}, 2),
              (std::vector<std::uint32_t>{0x112233, 0x445566}));
}

TEST(PixelFormat, NarrowAndWideChannelsAreScaledToEightBits) {
    // 16-bit 5-6-5: full scale stays full scale, zero stays zero.
    const auto rgb565 = PixelFormat::of(16, false, 0xF800, 0x07E0, 0x001F);
    ASSERT_TRUE(rgb565);
    EXPECT_EQ(read(*rgb565, {0xFF, 0xFF, 0x00, 0x00, 0x1F, 0x00, 0xE0, 0x07}, 4),
              (std::vector<std::uint32_t>{0xFFFFFF, 0x000000, 0x0000FF, 0x00FF00}));
    // 30-bit depth, ten bits a colour: the top eight are kept.
    const auto deep = PixelFormat::of(32, false, 0x3FF00000, 0x000FFC00, 0x000003FF);
    ASSERT_TRUE(deep);
    const std::uint32_t pixel = 0x3FFu << 20 | 0x200u << 10 | 0x004u;
    EXPECT_EQ(read(*deep, {static_cast<std::uint8_t>(pixel), static_cast<std::uint8_t>(pixel >> 8),
                           static_cast<std::uint8_t>(pixel >> 16), static_cast<std::uint8_t>(pixel >> 24)},
                   1),
              (std::vector<std::uint32_t>{0xFF8001}));
}

TEST(PixelFormat, WritingAndReadingBackGivesTheSameColours) {
    const std::vector<std::uint32_t> colours = {0x000000, 0xFFFFFF, 0x123456, 0xFF0080, 0x01FE7F};
    for (const bool msbFirst : {false, true}) {
        for (const int bits : {24, 32}) {
            const auto format = PixelFormat::of(bits, msbFirst, 0xFF0000, 0x00FF00, 0x0000FF);
            ASSERT_TRUE(format);
            std::vector<std::uint8_t> row(colours.size() * format->bytesPerPixel());
            format->writeRow(colours, row);
            EXPECT_EQ(read(*format, row, colours.size()), colours) << bits << " bits, msb first " << msbFirst;
        }
    }
    // Five and six bits keep the nearest of their levels.
    const auto rgb565 = PixelFormat::of(16, true, 0xF800, 0x07E0, 0x001F);
    ASSERT_TRUE(rgb565);
    std::vector<std::uint8_t> row(2);
    rgb565->writeRow(std::vector<std::uint32_t>{0xFF0000}, row);
    EXPECT_EQ(row, (std::vector<std::uint8_t>{0xF8, 0x00}));
}

TEST(PixelFormat, ShortRowsAreReadOnlyAsFarAsTheyGo) {
    const auto bgrx = PixelFormat::of(32, false, 0xFF0000, 0x00FF00, 0x0000FF);
    ASSERT_TRUE(bgrx);
    EXPECT_EQ(read(*bgrx, {0x33, 0x22, 0x11, 0x00, 0x66, 0x55}, 3),
              (std::vector<std::uint32_t>{0x112233, 0xDEADBEEF, 0xDEADBEEF}));
}

TEST(PixelFormat, RowsArePaddedToTheScanlineUnit) {
    const auto packed = PixelFormat::of(24, false, 0xFF0000, 0x00FF00, 0x0000FF);
    const auto bgrx = PixelFormat::of(32, false, 0xFF0000, 0x00FF00, 0x0000FF);
    ASSERT_TRUE(packed && bgrx);
    EXPECT_EQ(bgrx->rowBytes(322, 32), 1288u);
    EXPECT_EQ(packed->rowBytes(322, 32), 968u);
    EXPECT_EQ(packed->rowBytes(5, 32), 16u);
    EXPECT_EQ(packed->rowBytes(5, 8), 15u);
}

TEST(PixelFormat, LayoutsItCannotReadAreRefused) {
    EXPECT_FALSE(PixelFormat::of(8, false, 0xE0, 0x1C, 0x03));                // palette-sized pixels
    EXPECT_FALSE(PixelFormat::of(32, false, 0, 0x00FF00, 0x0000FF));          // a colour without bits
    EXPECT_FALSE(PixelFormat::of(32, false, 0xFF00FF, 0x00FF00, 0x0000FF));   // overlapping masks
    EXPECT_FALSE(PixelFormat::of(32, false, 0xF0F000, 0x000F00, 0x0000FF));   // a mask with a gap
    EXPECT_FALSE(PixelFormat::of(16, false, 0xFF0000, 0x00FF00, 0x0000FF));   // masks beyond the pixel
    EXPECT_FALSE(PixelFormat::of(32, false, 0xFFFF8000, 0x00000300, 0x000000FF));  // 17 bits of red
}

}  // namespace
}  // namespace skl
