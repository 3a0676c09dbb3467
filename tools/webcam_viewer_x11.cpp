// A stand-in for a messenger's webcam viewer on X11, for trying the Linux edition
// out and for its tests: a top-level window titled "Webcam for " + ID that paints
// the test picture of tools/test_picture.h, in which every pixel is a fixed
// function of its client position and the frame number, so that a grabbed
// rectangle can be told apart from any other.
//
// Its command line is tools/ViewerOptions.h's; --undecorated asks the window
// manager for no frame. Any key press also advances the frame; Escape closes the
// viewer.

#include <poll.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "capture/x11/image_layout_x11.h"
#include "capture/x11/xcb_x11.h"
#include "tools/ViewerOptions.h"
#include "tools/test_picture.h"

namespace {

constexpr std::uint16_t clientWidth = 360;
constexpr std::uint16_t clientHeight = 320;
constexpr std::uint32_t bandColour = 0x000060;
constexpr std::uint32_t textColour = 0xFFFFFF;
constexpr xcb_keysym_t escapeKeysym = 0xFF1B;

using Options = skl::viewer::Options<char>;

template <typename Value>
void setProperty(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property, xcb_atom_t type,
                 const Value* values, std::size_t count) {
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, property, type, sizeof(Value) * 8,
                        static_cast<std::uint32_t>(count), values);
}

class Viewer {
public:
    Viewer(const skl::XcbConnection& x, const skl::ImageLayout& layout, Options options)
        : x_(x), connection_(x.get()), layout_(layout), options_(std::move(options)),
          window_(xcb_generate_id(connection_)), gc_(xcb_generate_id(connection_)),
          wmProtocols_(x.atom("WM_PROTOCOLS")), wmDeleteWindow_(x.atom("WM_DELETE_WINDOW")) {
        createWindow();
        readEscapeKeys();
    }
    ~Viewer() {
        xcb_free_gc(connection_, gc_);
        xcb_destroy_window(connection_, window_);
        xcb_flush(connection_);
    }
    Viewer(const Viewer&) = delete;
    Viewer& operator=(const Viewer&) = delete;

    // Runs until the window is closed (0) or the connection breaks (1).
    int run() {
        using Clock = std::chrono::steady_clock;
        const auto period = std::chrono::milliseconds(options_.changingMs);
        auto nextChange = Clock::now() + period;
        const pollfd connection{xcb_get_file_descriptor(connection_), POLLIN, 0};
        for (;;) {
            while (const skl::XcbReply<xcb_generic_event_t> event{xcb_poll_for_event(connection_)}) {
                if (!handle(*event)) return 0;
            }
            if (xcb_connection_has_error(connection_) != 0) return 1;
            // Flushing may read events into xcb's queue, where poll() would not see them.
            xcb_flush(connection_);
            if (const skl::XcbReply<xcb_generic_event_t> event{xcb_poll_for_queued_event(connection_)}) {
                if (!handle(*event)) return 0;
                continue;
            }
            int timeout = -1;
            if (options_.changingMs > 0) {
                const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(nextChange - Clock::now());
                timeout = static_cast<int>(std::max<std::int64_t>(left.count(), 0));
            }
            pollfd ready = connection;
            poll(&ready, 1, timeout);
            if (options_.changingMs > 0 && Clock::now() >= nextChange) {
                nextChange += period;
                advance();
            }
        }
    }

private:
    void createWindow() {
        const xcb_screen_t& screen = x_.screen();
        const skl::viewer::Point corner = options_.at.value_or(skl::viewer::Point{});
        const std::uint32_t events =
            XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_KEY_PRESS | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        // No background: the picture covers the whole client area.
        const std::uint32_t attributes[] = {XCB_BACK_PIXMAP_NONE, events};
        xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window_, screen.root, corner.x, corner.y, clientWidth,
                          clientHeight, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen.root_visual,
                          XCB_CW_BACK_PIXMAP | XCB_CW_EVENT_MASK, attributes);

        const std::string title = "Webcam for " + options_.id;
        const skl::XcbAtoms& atoms = x_.atoms();
        setProperty(connection_, window_, atoms.netWmName, atoms.utf8String, title.data(), title.size());
        setProperty(connection_, window_, XCB_ATOM_WM_NAME, atoms.utf8String, title.data(), title.size());
        constexpr std::string_view windowClass("webcam_viewer\0WebcamViewer\0", 27);
        setProperty(connection_, window_, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, windowClass.data(), windowClass.size());
        setProperty(connection_, window_, wmProtocols_, XCB_ATOM_ATOM, &wmDeleteWindow_, 1);
        setSizeHints();
        if (options_.undecorated) {
            // Motif hints: flags (decorations given), functions, decorations (none), input mode, status.
            const std::uint32_t motifHints[] = {2, 0, 0, 0, 0};
            const xcb_atom_t motif = x_.atom("_MOTIF_WM_HINTS");
            setProperty(connection_, window_, motif, motif, motifHints, 5);
        }

        const std::uint32_t gcValues[] = {layout_.format.pixelValue(textColour), layout_.format.pixelValue(bandColour)};
        xcb_create_gc(connection_, gc_, window_, XCB_GC_FOREGROUND | XCB_GC_BACKGROUND, gcValues);
        const xcb_font_t font = xcb_generate_id(connection_);
        const std::string_view fontName = "fixed";
        xcb_open_font(connection_, font, static_cast<std::uint16_t>(fontName.size()), fontName.data());
        xcb_change_gc(connection_, gc_, XCB_GC_FONT, &font);
        xcb_close_font(connection_, font);  // the GC keeps it

        xcb_map_window(connection_, window_);
    }

    // Fixed size; with --at, the frame's top-left corner goes exactly there
    // (user-given position, north-west gravity).
    void setSizeHints() {
        constexpr std::uint32_t userPosition = 1, minSize = 16, maxSize = 32, windowGravity = 512;
        constexpr std::uint32_t northWest = 1;
        std::array<std::uint32_t, 18> hints{};
        hints[0] = minSize | maxSize | windowGravity | (options_.at ? userPosition : 0);
        if (options_.at) {
            hints[1] = static_cast<std::uint32_t>(options_.at->x);
            hints[2] = static_cast<std::uint32_t>(options_.at->y);
        }
        hints[3] = hints[5] = hints[7] = clientWidth;
        hints[4] = hints[6] = hints[8] = clientHeight;
        hints[17] = northWest;
        setProperty(connection_, window_, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS, hints.data(), hints.size());
    }

    void readEscapeKeys() {
        const xcb_setup_t& setup = *xcb_get_setup(connection_);
        const auto count = static_cast<std::uint8_t>(setup.max_keycode - setup.min_keycode + 1);
        const auto mapping = skl::replyTo<xcb_get_keyboard_mapping_reply>(
            connection_, xcb_get_keyboard_mapping(connection_, setup.min_keycode, count));
        if (!mapping || mapping->keysyms_per_keycode == 0) return;
        const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(mapping.get());
        for (int key = 0; key < count; ++key) {
            if (keysyms[key * mapping->keysyms_per_keycode] == escapeKeysym)
                escapeKeys_.push_back(static_cast<xcb_keycode_t>(setup.min_keycode + key));
        }
    }

    // False once the window is to close.
    bool handle(const xcb_generic_event_t& event) {
        switch (event.response_type & 0x7F) {
            case XCB_EXPOSE:
                if (reinterpret_cast<const xcb_expose_event_t&>(event).count == 0) paint();
                return true;
            case XCB_MAP_NOTIFY:
                // openbox may pull a window that starts partly off the screen back onto
                // it; once the window is up it is moved where it was asked to be.
                if (options_.at) {
                    const std::uint32_t position[] = {static_cast<std::uint32_t>(options_.at->x),
                                                      static_cast<std::uint32_t>(options_.at->y)};
                    xcb_configure_window(connection_, window_, XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, position);
                }
                return true;
            case XCB_KEY_PRESS: {
                const xcb_keycode_t key = reinterpret_cast<const xcb_key_press_event_t&>(event).detail;
                if (std::find(escapeKeys_.begin(), escapeKeys_.end(), key) != escapeKeys_.end()) return false;
                advance();
                return true;
            }
            case XCB_CLIENT_MESSAGE: {
                const auto& message = reinterpret_cast<const xcb_client_message_event_t&>(event);
                return !(message.type == wmProtocols_ && message.format == 32 &&
                         message.data.data32[0] == wmDeleteWindow_);
            }
            default:
                return true;
        }
    }

    void advance() {
        ++options_.frame;
        paint();
    }

    void paint() {
        const std::size_t stride = layout_.rowBytes(clientWidth);
        std::vector<std::uint8_t> image(stride * clientHeight);
        std::vector<std::uint32_t> colours(clientWidth);
        const int bandTop = clientHeight - skl::test_picture::textBandHeight;
        for (int y = 0; y < clientHeight; ++y) {
            for (int x = 0; x < clientWidth; ++x) {
                const skl::test_picture::Rgb c = skl::test_picture::pixel(x, y, options_.frame);
                colours[static_cast<std::size_t>(x)] =
                    y >= bandTop ? bandColour : std::uint32_t{c.r} << 16 | std::uint32_t{c.g} << 8 | c.b;
            }
            layout_.format.writeRow(colours, std::span(image).subspan(static_cast<std::size_t>(y) * stride, stride));
        }
        putImage(image, stride);

        std::string caption = options_.id + "  frame " + std::to_string(options_.frame);
        caption.resize(std::min<std::size_t>(caption.size(), 255));
        xcb_image_text_8(connection_, static_cast<std::uint8_t>(caption.size()), window_, gc_, 6,
                         static_cast<std::int16_t>(clientHeight - 6), caption.data());
    }

    // In strips that each fit one request.
    void putImage(const std::vector<std::uint8_t>& image, std::size_t stride) {
        constexpr std::size_t requestHeader = 24;
        const std::size_t longestRequest = std::size_t{xcb_get_maximum_request_length(connection_)} * 4;
        const std::size_t rowsPerStrip = std::max<std::size_t>((longestRequest - requestHeader) / stride, 1);
        for (std::size_t top = 0; top < clientHeight; top += rowsPerStrip) {
            const std::size_t rows = std::min<std::size_t>(rowsPerStrip, clientHeight - top);
            xcb_put_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, window_, gc_, clientWidth,
                          static_cast<std::uint16_t>(rows), 0, static_cast<std::int16_t>(top), 0,
                          x_.screen().root_depth, static_cast<std::uint32_t>(rows * stride),
                          image.data() + top * stride);
        }
    }

    const skl::XcbConnection& x_;
    xcb_connection_t* connection_;
    const skl::ImageLayout& layout_;
    Options options_;
    xcb_window_t window_;
    xcb_gcontext_t gc_;
    xcb_atom_t wmProtocols_;
    xcb_atom_t wmDeleteWindow_;
    std::vector<xcb_keycode_t> escapeKeys_;
};

}  // namespace

int main(int argc, char** argv) {
    const auto options = skl::viewer::parseOptions(argc, argv);
    if (!options) {
        std::fprintf(stderr, "%s\n", skl::viewer::usage);
        return 2;
    }
    const skl::XcbConnection x;
    if (!x.connected()) {
        std::fputs("webcam_viewer: cannot connect to the X display\n", stderr);
        return 1;
    }
    const auto layout = skl::rootImageLayout(x);
    if (!layout) {
        std::fputs("webcam_viewer: the screen is not a true-colour one\n", stderr);
        return 1;
    }
    Viewer viewer(x, *layout, *options);
    return viewer.run();
}
