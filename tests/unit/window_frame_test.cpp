// The outer frame of another program's window: the client's place widened by the
// window manager's frame, and frame extents that cannot be believed.

#include <gtest/gtest.h>

#include "capture/Workspace.h"

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

TEST(Workspace, RestoredRectanglesMoveByTheBarsAtTheTopAndLeftOnly) {
    constexpr ScreenRect screen{0, 0, 1280, 1024};
    constexpr ScreenRect viewer{100, 50, 460, 420};
    // Taskbar at the bottom or the right: workspace and screen coincide.
    EXPECT_EQ(workspaceToScreen(viewer, screen, {0, 0, 1280, 984}), viewer);
    EXPECT_EQ(workspaceToScreen(viewer, screen, {0, 0, 1220, 1024}), viewer);
    // At the top (40 pixels, as on 7 and 10) or the left.
    EXPECT_EQ(workspaceToScreen(viewer, screen, {0, 40, 1280, 1024}), (ScreenRect{100, 90, 460, 460}));
    EXPECT_EQ(workspaceToScreen(viewer, screen, {62, 0, 1280, 1024}), (ScreenRect{162, 50, 522, 420}));
    // A second monitor left of the first, its bar at the top.
    EXPECT_EQ(workspaceToScreen({-10, -20, 350, 350}, {-1920, 0, 0, 1080}, {-1920, 30, 0, 1080}),
              (ScreenRect{-10, 10, 350, 380}));
}

}  // namespace
}  // namespace skl
