// Where another program's window lies: the system gives its restored rectangle in
// the coordinates of its monitor's work area, which are shifted to the screen's.

#include <gtest/gtest.h>

#include "capture/win32/desktop_win32.h"

namespace skl::test {
namespace {

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
}  // namespace skl::test
