// Where the sample viewer lies and what a grab of it gives, on a real X server with
// openbox: the frame corner wherever the viewer was put, its camera rectangle pixel
// for pixel, and rectangles reaching past the screen's edges, through shared memory
// and (on a server without it) through the socket.

#include <gtest/gtest.h>

#include <cstdlib>

#include "ManagedDesktopTest.h"
#include "capture/x11/grab_x11.h"

namespace skl::x11test {
namespace {

class ViewerTest : public ManagedDesktopTest {
protected:
    // Grabs until the picture shows the viewer's frame as predicted (it may still be
    // painting), or the time is up; the last comparison.
    Comparison grabbedViewer(ScreenRect rect, WindowHandle window, std::uint32_t frame) {
        const auto client = clientCorner(helper, static_cast<xcb_window_t>(window));
        if (!client) return {};
        Comparison last;
        waitUntil([&] {
            const auto grabbed = grabber.grab(rect).bitmap;
            if (!grabbed) return false;
            const Picture& picture = grabbed->picture();
            EXPECT_EQ(picture.width, rect.right - rect.left);
            EXPECT_EQ(picture.height, rect.bottom - rect.top);
            last = compareWithViewer(picture, {rect.left, rect.top}, *client, frame, screenWidth(), screenHeight());
            return static_cast<bool>(last);
        });
        return last;
    }

    int screenWidth() const { return desktop.screen().width_in_pixels; }
    int screenHeight() const { return desktop.screen().height_in_pixels; }
};

TEST_F(ViewerTest, DecoratedWindowsCornerIsTheFramesCorner) {
    const WindowHandle window = showViewer("framed", {"--at", "200", "150"}, ScreenPoint{200, 150});
    ASSERT_NE(window, 0);
    const ScreenRect frame = placementOf(window);
    const auto client = clientCorner(helper, static_cast<xcb_window_t>(window));
    ASSERT_TRUE(client);
    EXPECT_EQ(frame.left, 200);
    EXPECT_EQ(frame.top, 150);
    // The frame holds the client area, its title bar above it.
    EXPECT_LT(frame.left, client->x);
    EXPECT_LT(frame.top + 10, client->y);
    EXPECT_GE(frame.right, client->x + viewerWidth);
    EXPECT_GE(frame.bottom, client->y + viewerHeight);
}

TEST_F(ViewerTest, UndecoratedWindowIsItsOwnFrame) {
    const WindowHandle window = showViewer("bare", {"--at", "700", "100", "--undecorated"}, ScreenPoint{700, 100});
    ASSERT_NE(window, 0);
    EXPECT_EQ(placementOf(window), (ScreenRect{700, 100, 700 + viewerWidth, 100 + viewerHeight}));
}

TEST_F(ViewerTest, WindowPartlyPastTheLeftAndTopEdgesHasANegativeCorner) {
    const WindowHandle window = showViewer("edge", {"--at", "-40", "-30"}, ScreenPoint{-40, -30});
    ASSERT_NE(window, 0);
    const ScreenRect frame = placementOf(window);
    EXPECT_EQ(frame.left, -40);
    EXPECT_EQ(frame.top, -30);
}

TEST_F(ViewerTest, CameraRectangleIsGrabbedPixelForPixelInBothSizes) {
    const WindowHandle window = showViewer("pixels", {"--at", "200", "150", "--frame", "5"}, ScreenPoint{200, 150});
    ASSERT_NE(window, 0);
    const ScreenRect frame = placementOf(window);
    const ScreenPoint camera{frame.left + 26, frame.top + 44};
    for (const auto& [width, height] : {std::pair{322, 242}, std::pair{162, 122}}) {
        const Comparison result =
            grabbedViewer({camera.x, camera.y, camera.x + width, camera.y + height}, window, 5);
        EXPECT_EQ(result.compared, width * height) << width << " x " << height;
        EXPECT_EQ(result.differing, 0) << width << " x " << height;
    }
}

TEST_F(ViewerTest, PartsPastTheScreensEdgesAreBlack) {
    const WindowHandle topLeft = showViewer("corner", {"--at", "0", "0", "--undecorated", "--frame", "2"},
                                            ScreenPoint{0, 0});
    ASSERT_NE(topLeft, 0);
    Comparison result = grabbedViewer({-100, -50, 222, 192}, topLeft, 2);
    EXPECT_EQ(result.compared, 322 * 242);
    EXPECT_EQ(result.differing, 0);

    const int right = screenWidth() - viewerWidth;
    const int bottom = screenHeight() - viewerHeight;
    const WindowHandle bottomRight =
        showViewer("far", {"--at", std::to_string(right), std::to_string(bottom), "--undecorated", "--frame", "3"},
                   ScreenPoint{right, bottom});
    ASSERT_NE(bottomRight, 0);
    const int left = screenWidth() - 100;
    const int top = screenHeight() - 100;
    result = grabbedViewer({left, top, left + 322, top + 242}, bottomRight, 3);
    EXPECT_EQ(result.compared, 322 * 242 - 100 * 20);  // all but the viewer's text band
    EXPECT_EQ(result.differing, 0);
}

TEST_F(ViewerTest, GrabFollowsTheScreensSize) {
    const WindowHandle viewer = showViewer("resized", {"--at", "300", "100", "--undecorated", "--frame", "4"},
                                           ScreenPoint{300, 100});
    ASSERT_NE(viewer, 0);
    // What the server tells every client that asked when the screen is resized
    // (RandR): here the screen shrinks to 400 pixels wide, then grows back.
    const auto announceRootSize = [&](int width, int height) {
        xcb_configure_notify_event_t event{};
        event.response_type = XCB_CONFIGURE_NOTIFY;
        event.event = helper.root();
        event.window = helper.root();
        event.width = static_cast<std::uint16_t>(width);
        event.height = static_cast<std::uint16_t>(height);
        xcb_send_event(helper.get(), 0, helper.root(), XCB_EVENT_MASK_STRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&event));
        sync(helper);
        sync(desktop);
    };
    const ScreenRect camera{326, 144, 648, 386};
    ASSERT_TRUE(grabbedViewer(camera, viewer, 4));
    const auto whole = grabber.grab(camera).bitmap;
    ASSERT_TRUE(whole);
    // Every pixel right of x = 400 is black while the screen is that narrow.
    announceRootSize(400, screenHeight());
    const auto narrow = grabber.grab(camera).bitmap;
    ASSERT_TRUE(narrow);
    int shownPastTheEdge = 0;
    int shownThen = 0;
    for (std::int32_t y = 0; y < 242; ++y) {
        for (std::int32_t x = 400 - camera.left; x < 322; ++x) {
            shownPastTheEdge += whole->picture().at(x, y) != 0;
            shownThen += narrow->picture().at(x, y) != 0;
        }
    }
    EXPECT_GT(shownPastTheEdge, 0);
    EXPECT_EQ(shownThen, 0);
    announceRootSize(screenWidth(), screenHeight());
    EXPECT_TRUE(grabbedViewer(camera, viewer, 4));
}

TEST_F(ViewerTest, RectanglesOffTheScreenOrEmpty) {
    EXPECT_TRUE(desktop.screenCanBeRead());
    const auto away = grabber.grab({4000, -3000, 4322, -2758}).bitmap;
    ASSERT_TRUE(away);
    EXPECT_EQ(away->picture(), (Picture{322, 242, std::vector<std::uint32_t>(322 * 242, 0)}));
    EXPECT_EQ(grabber.grab({10, 10, 10, 50}).bitmap, nullptr);
    EXPECT_EQ(grabber.grab({10, 10, 50, 5}).bitmap, nullptr);
}

// Where the screen cannot be read (XWayland), the camera is read from the viewer's own
// window: the same pixels at the same frame corner + (26, 44), black beyond the
// window rather than beyond the screen, and a plain refusal once the window is gone.
TEST_F(ViewerTest, ViewersOwnWindowGivesTheCameraAtTheFrameCorner) {
    const WindowHandle window = showViewer("own", {"--at", "30", "20", "--frame", "3"}, ScreenPoint{30, 20});
    ASSERT_NE(window, 0);
    const ScreenRect frame = placementOf(window);
    const auto client = clientCorner(helper, static_cast<xcb_window_t>(window));
    ASSERT_TRUE(client);
    X11ScreenGrabber ownWindow{desktop, X11ScreenGrabber::Reads::ViewersOwnWindow};
    EXPECT_TRUE(ownWindow.readsViewersOwnPicture());
    const ScreenRect camera{frame.left + 26, frame.top + 44, frame.left + 348, frame.top + 286};
    Comparison same;
    waitUntil([&] {
        const auto grabbed = ownWindow.grabViewer(window, camera).bitmap;
        if (grabbed) same = compareWithViewer(grabbed->picture(), {camera.left, camera.top}, *client, 3,
                                              screenWidth(), screenHeight());
        return static_cast<bool>(same);
    });
    EXPECT_TRUE(same);

    // Reaching past the window's right edge: the rest is black, as beyond a screen
    // ending there.
    const std::int32_t windowRight = client->x + viewerWidth;
    const ScreenRect past{windowRight - 100, camera.top, windowRight + 222, camera.bottom};
    const auto wide = ownWindow.grabViewer(window, past).bitmap;
    ASSERT_TRUE(wide);
    EXPECT_TRUE(compareWithViewer(wide->picture(), {past.left, past.top}, *client, 3, windowRight, screenHeight()));

    const GrabResult gone = ownWindow.grabViewer(0x7fffff, camera);
    EXPECT_EQ(gone.bitmap, nullptr);
    EXPECT_EQ(gone.failure, L"The webcam window closed before its picture could be copied.");
}

// The grabs above go through memory shared with the server wherever it offers that;
// the same tests run once more on a server without it, where the socket serves.
TEST_F(ViewerTest, SharedMemoryIsAttachedExactlyWhereTheServerOffersIt) {
    const bool offered = std::getenv("SKELLIMOR_DISPLAY_WITHOUT_SHARED_MEMORY") == nullptr;
    EXPECT_EQ(SharedImageMemory::attach(desktop, 322 * 242 * 4) != nullptr, offered);
}

TEST_F(ViewerTest, ViewerAdvancesOnAKeyAndClosesOnEscape) {
    const WindowHandle window = showViewer("keys", {"--at", "400", "300", "--frame", "7"}, ScreenPoint{400, 300});
    ASSERT_NE(window, 0);
    const ScreenRect frame = placementOf(window);
    const ScreenRect camera{frame.left + 26, frame.top + 44, frame.left + 348, frame.top + 286};
    EXPECT_TRUE(grabbedViewer(camera, window, 7));
    ASSERT_EQ(run({"xdotool", "key", "--window", std::to_string(window), "space"}), 0);
    EXPECT_TRUE(grabbedViewer(camera, window, 8));
    // The press alone: the window is gone before a release could reach it.
    ASSERT_EQ(run({"xdotool", "keydown", "--window", std::to_string(window), "Escape"}), 0);
    EXPECT_EQ(viewers.back()->wait(), 0);
}

}  // namespace
}  // namespace skl::x11test
