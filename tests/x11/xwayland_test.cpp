// The X11 layer on a Wayland session's X server (XWayland, here weston's): the
// server refuses to copy its screen, which the grab reports instead of a black
// picture, while a viewer's own window gives the camera exactly at the frame
// corner + (26, 44).

#include <gtest/gtest.h>

#include "ManagedDesktopTest.h"

namespace skl::x11test {
namespace {

class XWaylandTest : public DesktopTest {};

TEST_F(XWaylandTest, ServerSaysItsScreenCannotBeRead) {
    EXPECT_FALSE(desktop.screenCanBeRead());
}

TEST_F(XWaylandTest, ScreenGrabIsRefusedInPlainWords) {
    X11ScreenGrabber screen{desktop};
    const GrabResult grab = screen.grabViewer(0, {10, 10, 332, 252});
    EXPECT_EQ(grab.bitmap, nullptr);
    EXPECT_EQ(grab.failure,
              L"The X server refused to copy the screen. In a Wayland session the X server does not have the "
              L"screen's pixels.");
}

TEST_F(XWaylandTest, ViewersOwnWindowGivesTheCameraAtTheFrameCorner) {
    const ChildProcess viewer(viewerCommand("xwayland", {"--frame", "5"}));
    const WindowHandle window = waitUntil([&] { return lookup.findWindow(L"Webcam for xwayland"); });
    ASSERT_NE(window, 0) << "the viewer is not found on XWayland";
    const std::optional<ScreenPoint> corner = waitUntil([&] { return lookup.restoredCorner(window); });
    ASSERT_TRUE(corner);
    const auto client = clientCorner(helper, static_cast<xcb_window_t>(window));
    ASSERT_TRUE(client);

    X11ScreenGrabber ownWindow{desktop, X11ScreenGrabber::Reads::ViewersOwnWindow};
    const ScreenRect camera{corner->x + 26, corner->y + 44, corner->x + 348, corner->y + 286};
    const bool exact = waitUntil([&] {
        const auto grabbed = ownWindow.grabViewer(window, camera).bitmap;
        return grabbed && compareWithViewer(grabbed->picture(), {camera.left, camera.top}, *client, 5, 32767, 32767);
    });
    EXPECT_TRUE(exact);
}

}  // namespace
}  // namespace skl::x11test
