// The outer frame of another program's window: the client's place widened by the
// window manager's frame, and frame extents that cannot be believed.

#include <gtest/gtest.h>

#include <vector>

#include "capture/WindowFrame.h"

namespace skl {
namespace {

std::optional<FrameExtents> extentsOf(std::vector<std::uint32_t> values) {
    return frameExtentsFrom(values);
}

TEST(FrameExtents, FourBelievableWidthsAreTaken) {
    EXPECT_EQ(extentsOf({1, 1, 20, 5}), (FrameExtents{1, 1, 20, 5}));
    EXPECT_EQ(extentsOf({0, 0, 0, 0}), (FrameExtents{}));
    EXPECT_EQ(extentsOf({widestFrame, 0, widestFrame, 0}), (FrameExtents{4096, 0, 4096, 0}));
}

TEST(FrameExtents, AnythingElseIsIgnored) {
    EXPECT_EQ(extentsOf({}), std::nullopt);
    EXPECT_EQ(extentsOf({1, 1, 20}), std::nullopt);
    EXPECT_EQ(extentsOf({1, 1, 20, 5, 0}), std::nullopt);
    EXPECT_EQ(extentsOf({1, 1, widestFrame + 1, 5}), std::nullopt);
    EXPECT_EQ(extentsOf({0xFFFFFFFF, 1, 20, 5}), std::nullopt);  // -1 written as a CARDINAL
    EXPECT_EQ(extentsOf({1, 1, 20, 0x80000000}), std::nullopt);
}

TEST(OuterFrame, CornerLiesTheFrameWidthsAboveAndLeftOfTheClient) {
    // openbox: 1 pixel left and right, a 20-pixel title bar, a 5-pixel bottom edge.
    const ClientGeometry client{{201, 170}, 360, 320, 0};
    EXPECT_EQ(outerFrame(client, FrameExtents{1, 1, 20, 5}), (ScreenRect{200, 150, 562, 495}));
}

TEST(OuterFrame, UndecoratedWindowsAreTheirOwnFrameBorderIncluded) {
    EXPECT_EQ(outerFrame({{50, 60}, 100, 80, 0}, std::nullopt), (ScreenRect{50, 60, 150, 140}));
    EXPECT_EQ(outerFrame({{50, 60}, 100, 80, 0}, FrameExtents{}), (ScreenRect{50, 60, 150, 140}));
    // The window's own X border lies outside its client area.
    EXPECT_EQ(outerFrame({{53, 63}, 100, 80, 3}, std::nullopt), (ScreenRect{50, 60, 156, 146}));
}

TEST(OuterFrame, PositionsPastTheLeftAndTopEdgesStayNegative) {
    EXPECT_EQ(outerFrame({{-39, -10}, 360, 320, 0}, FrameExtents{1, 1, 20, 5}), (ScreenRect{-40, -30, 322, 315}));
    EXPECT_EQ(outerFrame({{-32768, -32768}, 65535, 65535, 65535}, FrameExtents{4096, 4096, 4096, 4096}),
              (ScreenRect{-32768 - 65535 - 4096, -32768 - 65535 - 4096, -32768 + 65535 * 2 + 4096, -32768 + 65535 * 2 + 4096}));
}

}  // namespace
}  // namespace skl
