// Times the Linux edition's X11 calls of one snapshot on the display at hand: the
// window lookup, the placement, and the grab of the camera rectangle, both through
// the program's grabber (GetImage) and through a shared-memory segment made and
// freed for each grab, the alternative it was chosen over. tools/bench_x11.sh
// starts a display with a few windows and runs it.
//
//   capture_bench TITLE [REPEATS]
//
// Prints the median and the 99th percentile of each, in milliseconds.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "capture/desktop_x11.h"
#include "capture/image_layout_x11.h"

namespace {

using Clock = std::chrono::steady_clock;

void report(const char* what, int repeats, const std::function<void()>& step) {
    std::vector<double> milliseconds;
    for (int i = 0; i < repeats; ++i) {
        const auto start = Clock::now();
        step();
        milliseconds.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    std::printf("%-44s %7.3f ms (99th percentile %.3f)\n", what, milliseconds[milliseconds.size() / 2],
                milliseconds[milliseconds.size() * 99 / 100]);
}

// One grab through the connection's socket (plain GetImage), converted as the
// program converts.
skl::Picture grabThroughSocket(const skl::XcbConnection& x, const skl::ImageLayout& layout,
                               const skl::ScreenRect& rect) {
    xcb_connection_t* const connection = x.get();
    const auto width = static_cast<std::size_t>(rect.right - rect.left);
    const auto height = static_cast<std::size_t>(rect.bottom - rect.top);
    const std::size_t stride = layout.rowBytes(width);
    const auto image = skl::replyTo<xcb_get_image_reply>(
        connection, xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, x.root(), static_cast<std::int16_t>(rect.left),
                                  static_cast<std::int16_t>(rect.top), static_cast<std::uint16_t>(width),
                                  static_cast<std::uint16_t>(height), ~0u));
    if (!image || static_cast<std::size_t>(xcb_get_image_data_length(image.get())) < stride * height) return {};
    skl::Picture picture{static_cast<std::int32_t>(width), static_cast<std::int32_t>(height),
                         std::vector<std::uint32_t>(width * height)};
    for (std::size_t row = 0; row < height; ++row) {
        layout.format.readRow(std::span(xcb_get_image_data(image.get()) + row * stride, stride),
                              std::span(picture.pixels).subspan(row * width, width));
    }
    return picture;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("Usage: capture_bench TITLE [REPEATS]\n", stderr);
        return 2;
    }
    const std::string titleBytes = argv[1];
    const skl::Text title(titleBytes.begin(), titleBytes.end());  // ASCII titles
    const int repeats = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1000;

    const skl::XcbConnection x;
    const auto layout = skl::rootImageLayout(x);
    if (!x.connected() || !layout) {
        std::fputs("capture_bench: no usable X display\n", stderr);
        return 1;
    }
    skl::X11WindowLookup lookup(x);
    skl::X11ScreenGrabber grabber(x);
    const skl::WindowHandle window = lookup.findWindow(title);
    const std::optional<skl::ScreenPoint> corner = window == 0 ? std::nullopt : lookup.restoredCorner(window);
    if (!corner) {
        std::fprintf(stderr, "capture_bench: no window titled \"%s\"\n", argv[1]);
        return 1;
    }
    const skl::ScreenPoint camera{corner->x + 26, corner->y + 44};
    const skl::ScreenRect regular{camera.x, camera.y, camera.x + 322, camera.y + 242};
    const skl::ScreenRect small{camera.x, camera.y, camera.x + 162, camera.y + 122};
    const auto windows = [&] {
        const auto list = skl::replyTo<xcb_get_property_reply>(
            x.get(), xcb_get_property(x.get(), 0, x.root(), x.atoms().netClientList, XCB_ATOM_WINDOW, 0, 4096));
        return list ? xcb_get_property_value_length(list.get()) / 4 : 0;
    }();
    std::printf("%d repeats, %d managed windows\n", repeats, windows);

    report("lookup by title", repeats, [&] { lookup.findWindow(title); });
    report("placement", repeats, [&] { lookup.restoredCorner(window); });
    report("grab 322 x 242, the program's", repeats, [&] { grabber.grab(regular); });
    report("grab 162 x 122, the program's", repeats, [&] { grabber.grab(small); });
    report("grab 322 x 242, through the socket", repeats, [&] { grabThroughSocket(x, *layout, regular); });
    report("grab 162 x 122, through the socket", repeats, [&] { grabThroughSocket(x, *layout, small); });
    // Both ways must copy the same pixels.
    const auto grabbed = grabber.grab(regular);
    if (!grabbed || grabbed->picture() != grabThroughSocket(x, *layout, regular)) {
        std::fputs("capture_bench: the two grabs differ\n", stderr);
        return 1;
    }
    return 0;
}
