// Rounding, overflow-checked arithmetic and the pixel/twips conversion.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "capture/Checked.h"
#include "capture/Snapshot.h"
#include "ScriptedDesktop.h"

namespace skl::test {
namespace {

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(roundToInt32(0.5), 0);
    EXPECT_EQ(roundToInt32(1.5), 2);
    EXPECT_EQ(roundToInt32(2.5), 2);
    EXPECT_EQ(roundToInt32(-0.5), 0);
    EXPECT_EQ(roundToInt32(-1.5), -2);
    EXPECT_EQ(roundToInt32(-2.5), -2);
    EXPECT_EQ(roundToInt32(2.4999), 2);
    EXPECT_EQ(roundToInt32(2.5001), 3);
    EXPECT_EQ(roundToInt32(-2.5001), -3);
}

TEST(Rounding, RefusesWhatDoesNotFitOrIsNotANumber) {
    EXPECT_EQ(roundToInt32(2147483647.4), INT32_MAX);
    EXPECT_EQ(roundToInt32(2147483647.5), std::nullopt);  // rounds up to 2^31
    EXPECT_EQ(roundToInt32(-2147483648.5), INT32_MIN);    // the even neighbour is in range
    EXPECT_EQ(roundToInt32(-2147483649.0), std::nullopt);
    EXPECT_EQ(roundToInt32(std::numeric_limits<double>::infinity()), std::nullopt);
    EXPECT_EQ(roundToInt32(-std::numeric_limits<double>::infinity()), std::nullopt);
    EXPECT_EQ(roundToInt32(std::nan("")), std::nullopt);
}

TEST(CheckedArithmetic, ReportsOverflowInsteadOfWrapping) {
    EXPECT_EQ(checkedAdd(INT32_MAX - 26, 26), INT32_MAX);
    EXPECT_EQ(checkedAdd(INT32_MAX - 25, 26), std::nullopt);
    EXPECT_EQ(checkedAdd(INT32_MIN, -1), std::nullopt);
    EXPECT_EQ(checkedSub(INT32_MIN, 1), std::nullopt);
    EXPECT_EQ(checkedSub(INT32_MAX, -1), std::nullopt);
    EXPECT_EQ(checkedSub(-1, INT32_MAX), INT32_MIN);
    EXPECT_EQ(checkedSub(-2, INT32_MAX), std::nullopt);
}

TEST(Twips, FifteenPerPixelAtNinetySixDotsPerInch) {
    EXPECT_EQ(pixelsToTwips(100, 15.0), 1500);
    EXPECT_EQ(pixelsToTwips(50, 15.0), 750);
    EXPECT_EQ(pixelsToTwips(-40, 15.0), -600);
    EXPECT_EQ(twipsToPixels(-600, 15.0), -40);
}

TEST(Twips, NonIntegerFactorsRoundHalvesToEven) {
    EXPECT_EQ(pixelsToTwips(1, 13.5), 14);   // 13.5
    EXPECT_EQ(pixelsToTwips(3, 12.5), 38);   // 37.5
    EXPECT_EQ(pixelsToTwips(-3, 12.5), -38);
    EXPECT_EQ(twipsToPixels(25, 10.0), 2);   // 2.5
    EXPECT_EQ(twipsToPixels(35, 10.0), 4);   // 3.5
    EXPECT_EQ(pixelsToTwips(100, 1440.0 / 110.0), 1309);
}

TEST(Twips, RoundTripReturnsEveryPixelForCommonFactors) {
    // 96, 120, 144 and 110 dots per inch; single precision, as the screen reports them.
    for (const float factor : {15.0f, 12.0f, 10.0f, static_cast<float>(1440.0 / 110.0)}) {
        for (std::int32_t pixel = -2000; pixel <= 4000; ++pixel) {
            const auto twips = pixelsToTwips(pixel, factor);
            ASSERT_TRUE(twips);
            ASSERT_EQ(twipsToPixels(*twips, factor), pixel) << "factor " << factor;
        }
    }
}

TEST(Twips, FactorIsTheScreensSinglePrecisionValue) {
    EXPECT_EQ(twipsPerPixelAt(96), 15.0);
    EXPECT_EQ(twipsPerPixelAt(120), 12.0);
    EXPECT_EQ(twipsPerPixelAt(144), 10.0);
    EXPECT_EQ(twipsPerPixelAt(110), static_cast<double>(1440.0F / 110.0F));
    EXPECT_NE(twipsPerPixelAt(110), 1440.0 / 110.0);
    EXPECT_EQ(twipsPerPixelAt(0), 15.0);
}

TEST(Twips, OutOfRangeAndZeroFactorGiveNoValue) {
    EXPECT_EQ(pixelsToTwips(INT32_MAX, 15.0), std::nullopt);
    EXPECT_EQ(pixelsToTwips(-200'000'000, 15.0), std::nullopt);
    EXPECT_EQ(twipsToPixels(1500, 0.0), std::nullopt);
    EXPECT_EQ(twipsToPixels(0, 0.0), std::nullopt);
    EXPECT_EQ(twipsToPixels(INT32_MIN, 0.5), std::nullopt);
}

TEST(ReadCamPlacementTest, StoresTheRestoredCornerInTwipsWithFreshFactors) {
    ScriptedDesktop desk;
    CaptureState state;
    state.camHwnd = desk.openViewer(L"Webcam for a", {100, 50});
    EXPECT_EQ(ReadCamPlacement(state, desk, desk), PlacementResult::Read);
    EXPECT_EQ(state.camPlacement, (ScreenPoint{100, 50}));
    EXPECT_EQ(state.leftTwips, 1500);
    EXPECT_EQ(state.topTwips, 750);

    desk.twipsX = 12.0;  // the factors are read on every call
    desk.twipsY = 10.0;
    EXPECT_EQ(ReadCamPlacement(state, desk, desk), PlacementResult::Read);
    EXPECT_EQ(state.leftTwips, 1200);
    EXPECT_EQ(state.topTwips, 500);
}

TEST(ReadCamPlacementTest, TopOutOfRangeIsReported) {
    ScriptedDesktop desk;
    CaptureState state;
    state.camHwnd = desk.openViewer(L"Webcam for a", {10, INT32_MIN});
    EXPECT_EQ(ReadCamPlacement(state, desk, desk), PlacementResult::OutOfRange);
    EXPECT_EQ(state.leftTwips, 150);
}

}  // namespace
}  // namespace skl::test
