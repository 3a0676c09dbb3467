#pragma once
// The fixtures of the X11 tests: the program's connection with the lookup on it and
// the test's own connection; under openbox also the grabber and sample viewers.
// Each test leaves the display as it found it.

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <memory>

#include "ChildProcess.h"
#include "DisplayHelpers.h"
#include "capture/Text.h"
#include "capture/x11/frame_x11.h"
#include "capture/x11/grab_x11.h"
#include "capture/x11/windows_x11.h"

namespace skl::x11test {

class DesktopTest : public testing::Test {
protected:
    // As in the program under a UTF-8 locale, which its toolkit sets from the environment.
    DesktopTest() { std::setlocale(LC_CTYPE, "C.UTF-8"); }

    // The window's outer frame, whose corner the lookup must give.
    ScreenRect placementOf(WindowHandle window) {
        const std::optional<ScreenRect> frame = outerFrameOf(desktop, static_cast<xcb_window_t>(window));
        EXPECT_TRUE(frame);
        if (!frame) return {};
        EXPECT_EQ(lookup.restoredCorner(window), (ScreenPoint{frame->left, frame->top}));
        return *frame;
    }

    XcbConnection desktop;  // the program's connection
    XcbConnection helper;   // the test's own
    X11WindowLookup lookup{desktop};
};

class ManagedDesktopTest : public DesktopTest {
protected:
    void SetUp() override { before_ = managedWindows(helper); }

    // The next test starts once the window manager has let go of this one's windows:
    // on a busy machine openbox, still letting go of a departed viewer's window, was
    // seen to put the next viewer where the departed one had been.
    void TearDown() override {
        viewers.clear();
        const bool settled = waitUntil([&] {
            const std::vector<xcb_window_t> now = managedWindows(helper);
            return std::all_of(now.begin(), now.end(), [&](xcb_window_t window) {
                return std::find(before_.begin(), before_.end(), window) != before_.end();
            });
        });
        EXPECT_TRUE(settled) << "windows of the test still managed";
    }

    // Starts a viewer and waits until the window manager has put it in place (at the
    // frame corner given) and in its normal state; 0 when that does not happen.
    WindowHandle showViewer(const std::string& id, const std::vector<std::string>& options = {},
                            std::optional<ScreenPoint> corner = std::nullopt) {
        viewers.push_back(std::make_unique<ChildProcess>(viewerCommand(id, options)));
        const Text title = L"Webcam for " + decodeUtf8(id).value_or(L"");
        const WindowHandle window = waitUntil([&] { return lookup.findWindow(title); });
        if (window == 0) return 0;
        const bool shown = waitUntil([&] {
            const std::optional<ScreenPoint> at = lookup.restoredCorner(window);
            return wmState(helper, static_cast<xcb_window_t>(window)) == 1 && at && (!corner || at == corner);
        });
        return shown ? window : 0;
    }

    X11ScreenGrabber grabber{desktop};
    std::vector<std::unique_ptr<ChildProcess>> viewers;

private:
    std::vector<xcb_window_t> before_;
};

}  // namespace skl::x11test
