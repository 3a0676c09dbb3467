// The wait until the screen beneath the leaving window shows again.

#include <gtest/gtest.h>

#include "FakeDesktop.h"
#include "capture/ClearWait.h"

namespace skl::test {
namespace {

constexpr ScreenRect area{0, 0, 40, 10};
constexpr std::uint32_t windowColour = 0x8080FF;

Picture windowPixels() {
    return {40, 10, std::vector<std::uint32_t>(400, windowColour)};
}

// The screen shows the window until `goneAt` ms, then what lies beneath, of which
// every `matchEvery`-th pixel happens to have the window's colour.
struct LeavingWindow {
    std::int64_t goneAt = 0;
    int matchEvery = 0;
};

class ClearWaitTest : public testing::Test {
protected:
    // Milliseconds from the start until the wait returned, and the reads it took.
    std::pair<std::int64_t, std::size_t> wait(LeavingWindow leaving) {
        desk.screenPixel = [&desk = desk, leaving](std::int32_t x, std::int32_t y) {
            if (desk.monotonicMs < leaving.goneAt) return windowColour;
            const int index = y * 40 + x;
            return leaving.matchEvery && index % leaving.matchEvery == 0 ? windowColour : positionPixel(x, y);
        };
        ClearRule rule(windowPixels(), desk.monotonicMs);
        waitUntilAreaClear(area, rule, desk, desk);
        return {desk.monotonicMs, desk.count(L"grab")};
    }

    FakeDesktop desk;
};

TEST_F(ClearWaitTest, AreaThatStoppedChangingWithoutTheWindowIsClearAtOnce) {
    EXPECT_EQ(wait({0, 0}), std::make_pair(std::int64_t{1}, std::size_t{2}));
}

TEST_F(ClearWaitTest, WaitsWhileTheWindowStillShows) {
    const auto [returnedAt, reads] = wait({40, 0});
    EXPECT_EQ(returnedAt, 41);
    EXPECT_EQ(reads, 42u);
}

TEST_F(ClearWaitTest, ContentMatchingTheWindowByChanceCountsOnceItHasSettled) {
    // One pixel in ten has the window's colour: more than the quick rule allows.
    const auto [returnedAt, reads] = wait({5, 10});
    EXPECT_EQ(returnedAt, 30) << "clear once 30 ms have passed and 25 ms without change";
    EXPECT_GT(reads, 25u);
}

TEST_F(ClearWaitTest, GivesUpAfterHalfASecond) {
    EXPECT_EQ(wait({1'000'000, 0}).first, ClearRule::limitMilliseconds);
    // Beneath matches far more than a quarter: also never clear.
    desk.monotonicMs = 0;
    EXPECT_EQ(wait({0, 2}).first, ClearRule::limitMilliseconds);
}

TEST_F(ClearWaitTest, AreaIsJudgedOnlyOnceTheWindowSystemSaysTheWindowHasLeft) {
    // The pixels beneath show at once, but the window manager still animates the
    // window's frame elsewhere in the area until 60 ms.
    desk.screenPixel = positionPixel;
    ClearRule rule(windowPixels(), 0);
    waitUntilAreaClear(area, rule, desk, desk, [&] { return desk.monotonicMs >= 60; });
    EXPECT_EQ(desk.monotonicMs, 61);
    EXPECT_EQ(desk.count(L"grab"), 2u);
}

TEST_F(ClearWaitTest, StopsWhenTheScreenCannotBeRead) {
    desk.grabFails = true;
    EXPECT_EQ(wait({1'000'000, 0}), std::make_pair(std::int64_t{0}, std::size_t{1}));
}

}  // namespace
}  // namespace skl::test
