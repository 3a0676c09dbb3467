// The program's monotonic clock: performance-counter ticks to milliseconds.

#include <gtest/gtest.h>

#include "capture/win32/desktop_win32.h"

namespace skl::test {
namespace {

TEST(PerformanceCounterClock, ConvertsTicksToWholeMilliseconds) {
    EXPECT_EQ(countsToMilliseconds(0, 10'000'000), 0);
    EXPECT_EQ(countsToMilliseconds(25'000'000, 10'000'000), 2500);
    EXPECT_EQ(countsToMilliseconds(10'009'999, 10'000'000), 1000);  // part of a millisecond drops
    EXPECT_EQ(countsToMilliseconds(3'579'545, 3'579'545), 1000);     // the ACPI timer's rate
}

TEST(PerformanceCounterClock, DoesNotOverflowAfterYearsAtProcessorSpeed) {
    // About three years of a 3 GHz counter: ticks * 1000 would not fit 64 bits.
    constexpr std::int64_t perSecond = 3'000'000'000;
    constexpr std::int64_t ticks = perSecond * 100'000'000 + perSecond / 1000 * 7;
    EXPECT_EQ(countsToMilliseconds(ticks, perSecond), 100'000'000'007);
}

TEST(PerformanceCounterClock, MeasuresRealTimeInMilliseconds) {
    Win32Clock clock;
    const std::int64_t before = clock.monotonicMilliseconds();
    Sleep(100);
    const std::int64_t elapsed = clock.monotonicMilliseconds() - before;
    EXPECT_GE(elapsed, 90);
    EXPECT_LT(elapsed, 5000);
}

}  // namespace
}  // namespace skl::test
