// The snapshot benchmark of the Linux edition: the real Qt window and the real
// X11 desktop of window/qt/LinuxDesktop_qt.h. tools/bench.sh --linux runs it on a
// private display; tools/bench/SnapshotBench.h says what it does and how it is
// called.

#include <QApplication>
#include <QRadioButton>

#include <cstdio>
#include <string>
#include <vector>

#include "capture/Snapshot.h"
#include "capture/Text.h"
#include "capture/x11/frame_x11.h"
#include "tools/bench/ProcessResources_x11.h"
#include "tools/bench/SnapshotBench.h"
#include "window/qt/LinuxDesktop_qt.h"

namespace {

using namespace skl;
using namespace skl::bench;

constexpr xcb_keysym_t spaceKeysym = 0x20;

// Looks at windows through the program's own connection to the X server.
class WindowProbe {
public:
    explicit WindowProbe(const XcbConnection& x) : x_(x) {}

    // The window's inside, without its border, in root pixels.
    ScreenRect inside(xcb_window_t window) const {
        const auto geometry = replyTo<xcb_get_geometry_reply>(x_.get(), xcb_get_geometry(x_.get(), window));
        const auto corner = replyTo<xcb_translate_coordinates_reply>(
            x_.get(), xcb_translate_coordinates(x_.get(), window, x_.root(), 0, 0));
        if (!geometry || !corner) return {};
        return {corner->dst_x, corner->dst_y, corner->dst_x + geometry->width, corner->dst_y + geometry->height};
    }
    // A key that the keyboard map gives the space character, or the lowest key.
    xcb_keycode_t spaceKey() const {
        const xcb_setup_t& setup = *xcb_get_setup(x_.get());
        const auto count = static_cast<std::uint8_t>(setup.max_keycode - setup.min_keycode + 1);
        const auto mapping = replyTo<xcb_get_keyboard_mapping_reply>(
            x_.get(), xcb_get_keyboard_mapping(x_.get(), setup.min_keycode, count));
        if (mapping && mapping->keysyms_per_keycode > 0) {
            const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(mapping.get());
            for (int key = 0; key < count; ++key) {
                if (keysyms[key * mapping->keysyms_per_keycode] == spaceKeysym)
                    return static_cast<xcb_keycode_t>(setup.min_keycode + key);
            }
        }
        return setup.min_keycode;
    }
    // A key press sent to the window, as if typed while it had the focus.
    void pressKey(xcb_window_t window, xcb_keycode_t key) const {
        xcb_key_press_event_t press{};
        press.response_type = XCB_KEY_PRESS;
        press.detail = key;
        press.root = x_.root();
        press.event = window;
        press.same_screen = 1;
        xcb_send_event(x_.get(), 0, window, XCB_EVENT_MASK_KEY_PRESS, reinterpret_cast<const char*>(&press));
        xcb_flush(x_.get());
    }

private:
    const XcbConnection& x_;
};

class X11BenchDesktop final : public BenchDesktop {
public:
    X11BenchDesktop(const XcbConnection& x, X11Screen& screen, Form1Widget& window, LinuxDesktop& real,
                    xcb_window_t viewer)
        : x_(x), probe_(x), screen_(screen), window_(window), real_(real), viewer_(viewer),
          viewerKey_(probe_.spaceKey()) {}

    std::string edition() override { return "the Linux edition, Qt " QT_VERSION_STR; }
    Form1Ports ports() override { return real_.ports(); }
    void attach(Form1& form) override { window_.attach(form); }
    void show() override {
        window_.showCentred([this] { real_.topmost.windowShown(window_.hWnd()); });
    }

    ScreenRect windowFrame() override { return outerFrameOf(x_, own()).value_or(ScreenRect{}); }
    ScreenRect windowClient() override { return probe_.inside(own()); }
    void moveWindow(ScreenPoint corner) override { window_.move(corner.x, corner.y); }
    bool windowShown() override { return isViewable(x_, own()); }
    bool windowOffScreen() override {
        const auto frame = topLevelAncestor(x_, own());
        return !frame || !isViewable(x_, *frame);
    }
    bool chooseSize(bool regular) override {
        const QString caption = regular ? QStringLiteral("Regular Size") : QStringLiteral("Small Size");
        for (QRadioButton* option : window_.findChildren<QRadioButton*>()) {
            if (option->text() == caption) {
                option->click();
                return true;
            }
        }
        return false;
    }

    ScreenPoint viewerFrameCorner() override {
        const ScreenRect frame = outerFrameOf(x_, viewer_).value_or(ScreenRect{});
        return {frame.left, frame.top};
    }
    ViewerClient viewerClient() override {
        const ScreenRect client = probe_.inside(viewer_);
        return {{client.left, client.top}, {client.right - client.left, client.bottom - client.top}};
    }
    void advanceViewerFrame() override { probe_.pressKey(viewer_, viewerKey_); }

    Resources measureResources() override { return measureX11Resources(x_); }
    std::string resourceLegend() override { return x11ResourceLegend; }

private:
    xcb_window_t own() { return static_cast<xcb_window_t>(window_.hWnd()); }

    const XcbConnection& x_;
    WindowProbe probe_;
    X11Screen& screen_;
    Form1Widget& window_;
    LinuxDesktop& real_;
    xcb_window_t viewer_;
    xcb_keycode_t viewerKey_;
};

}  // namespace

int main(int argc, char** argv) {
    const XcbConnection x;
    if (!x.connected()) {
        std::fputs("snapshot_bench: the X display named by DISPLAY cannot be opened\n", stderr);
        return 2;
    }
    // As the program runs: an X window at the screen's real pixels.
    qputenv("QT_QPA_PLATFORM", "xcb");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication application(argc, argv);

    std::vector<Text> arguments;
    for (int i = 1; i < argc; ++i) {
        const auto argument = decodeUtf8(argv[i]);
        if (!argument) {
            std::fputs(usage, stderr);
            return 2;
        }
        arguments.push_back(*argument);
    }
    const auto options = parseOptions(arguments);
    if (!options) {
        std::fputs(usage, stderr);
        return 2;
    }

    X11Screen screen(x, sessionFactsOf(x));
    Form1Widget window(screen.screen.twipsPerPixelX(), screen.aside);
    LinuxDesktop real(x, screen, window);
    // The window manager lists the viewer once it has taken it on, which may be a
    // moment after the viewer has made its window.
    const Text viewerTitle = texts::viewerTitlePrefix + options->id;
    WindowHandle viewer = screen.windows().findWindow(viewerTitle);
    for (int wait = 0; viewer == 0 && wait < 50; ++wait) {
        screen.clock.sleepMilliseconds(100);
        viewer = screen.windows().findWindow(viewerTitle);
    }
    if (viewer == 0) {
        std::fprintf(stderr, "no window titled \"%s\"\n", narrow(viewerTitle).c_str());
        return 2;
    }
    X11BenchDesktop desktop(x, screen, window, real, static_cast<xcb_window_t>(viewer));
    return runSnapshotBench(*options, desktop);
}
