#pragma once
// What the X11 tests need of the display beside the code under test: windows of
// their own with chosen name properties, the state the window manager gives
// windows, and waiting for the display to settle.

#include <chrono>
#include <optional>
#include <string_view>
#include <thread>
#include <vector>

#include "capture/CaptureState.h"
#include "capture/Picture.h"
#include "capture/x11/xcb_x11.h"

namespace skl::x11test {

using namespace std::chrono_literals;

// Calls `probe` until it gives something true or the time is up; its last result.
template <typename Probe>
auto waitUntil(Probe probe, std::chrono::milliseconds timeout = 5s) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    auto result = probe();
    while (!result && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(10ms);
        result = probe();
    }
    return result;
}

// Returns once the server has handled every request sent so far.
void sync(const XcbConnection& x);

// A top-level window created by the test (or a child of one), destroyed with it.
class TestWindow {
public:
    TestWindow(const XcbConnection& x, ScreenRect rect, xcb_window_t parent = XCB_WINDOW_NONE);
    ~TestWindow() { destroy(); }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    xcb_window_t id() const { return id_; }
    WindowHandle handle() const { return static_cast<WindowHandle>(id_); }
    void setText(xcb_atom_t property, xcb_atom_t type, std::string_view bytes);
    void setCardinals(xcb_atom_t property, xcb_atom_t type, const std::vector<std::uint32_t>& values);
    void map();
    void destroy();

private:
    const XcbConnection& x_;
    xcb_window_t id_;
    bool alive_ = true;
};

// The windows the window manager lists as its clients.
std::vector<xcb_window_t> managedWindows(const XcbConnection& x);

// The ICCCM state (1 normal, 3 iconic) the window manager gave the window; 0 without one.
std::uint32_t wmState(const XcbConnection& x, xcb_window_t window);

// Asks the window manager to close the window, as its close button does.
void askToClose(const XcbConnection& x, xcb_window_t window);

// Where the window's client area lies on the screen.
std::optional<ScreenPoint> clientCorner(const XcbConnection& x, xcb_window_t window);

// The sample viewer's client area (its window without the frame) and its picture.
inline constexpr int viewerWidth = 360;
inline constexpr int viewerHeight = 320;

// How a picture grabbed at `grabCorner` compares with what a viewer whose client
// area lies at `client` shows in frame `frame`: the count of pixels that differ,
// among those the test picture fixes (inside the client area, above its text band).
// Pixels past the screen's edges must be black.
struct Comparison {
    int compared = 0;
    int differing = 0;
    explicit operator bool() const { return compared > 0 && differing == 0; }
};
Comparison compareWithViewer(const Picture& picture, ScreenPoint grabCorner, ScreenPoint client, std::uint32_t frame,
                             int screenWidth, int screenHeight);

}  // namespace skl::x11test
