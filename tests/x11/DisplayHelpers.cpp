#include "DisplayHelpers.h"

#include "tools/test_picture.h"

namespace skl::x11test {

void sync(const XcbConnection& x) {
    replyTo<xcb_get_input_focus_reply>(x.get(), xcb_get_input_focus(x.get()));
}

TestWindow::TestWindow(const XcbConnection& x, ScreenRect rect, xcb_window_t parent)
    : x_(x), id_(xcb_generate_id(x.get())) {
    const std::uint32_t background[] = {x.screen().black_pixel};
    xcb_create_window(x.get(), XCB_COPY_FROM_PARENT, id_, parent == XCB_WINDOW_NONE ? x.root() : parent,
                      static_cast<std::int16_t>(rect.left), static_cast<std::int16_t>(rect.top),
                      static_cast<std::uint16_t>(rect.right - rect.left),
                      static_cast<std::uint16_t>(rect.bottom - rect.top), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      XCB_COPY_FROM_PARENT, XCB_CW_BACK_PIXEL, background);
    sync(x);
}

void TestWindow::setText(xcb_atom_t property, xcb_atom_t type, std::string_view bytes) {
    xcb_change_property(x_.get(), XCB_PROP_MODE_REPLACE, id_, property, type, 8,
                        static_cast<std::uint32_t>(bytes.size()), bytes.data());
    sync(x_);
}

void TestWindow::setCardinals(xcb_atom_t property, xcb_atom_t type, const std::vector<std::uint32_t>& values) {
    xcb_change_property(x_.get(), XCB_PROP_MODE_REPLACE, id_, property, type, 32,
                        static_cast<std::uint32_t>(values.size()), values.data());
    sync(x_);
}

void TestWindow::map() {
    xcb_map_window(x_.get(), id_);
    sync(x_);
}

void TestWindow::destroy() {
    if (!alive_) return;
    alive_ = false;
    xcb_destroy_window(x_.get(), id_);
    sync(x_);
}

std::vector<xcb_window_t> managedWindows(const XcbConnection& x) {
    return x.propertyUnits(x.root(), x.atoms().netClientList, XCB_ATOM_WINDOW, 1u << 16)
        .value_or(std::vector<xcb_window_t>{});
}

std::uint32_t wmState(const XcbConnection& x, xcb_window_t window) {
    const auto state = x.propertyUnits(window, x.atoms().wmState, x.atoms().wmState, 1);
    return state && !state->empty() ? state->front() : 0;
}

void askToClose(const XcbConnection& x, xcb_window_t window) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = x.atom("_NET_CLOSE_WINDOW");
    message.data.data32[1] = 2;  // asked by a pager or the like, on the user's behalf
    xcb_send_event(x.get(), 0, x.root(), XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    sync(x);
}

std::optional<ScreenPoint> clientCorner(const XcbConnection& x, xcb_window_t window) {
    const auto reply = replyTo<xcb_translate_coordinates_reply>(
        x.get(), xcb_translate_coordinates(x.get(), window, x.root(), 0, 0));
    if (!reply) return std::nullopt;
    return ScreenPoint{reply->dst_x, reply->dst_y};
}

Comparison compareWithViewer(const Picture& picture, ScreenPoint grabCorner, ScreenPoint client, std::uint32_t frame,
                             int screenWidth, int screenHeight) {
    Comparison result;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const int screenX = grabCorner.x + x;
            const int screenY = grabCorner.y + y;
            std::optional<std::uint32_t> expected;
            if (screenX < 0 || screenY < 0 || screenX >= screenWidth || screenY >= screenHeight) {
                expected = 0;
            } else {
                const int clientX = screenX - client.x;
                const int clientY = screenY - client.y;
                if (clientX >= 0 && clientX < viewerWidth && clientY >= 0 &&
                    clientY < viewerHeight - test_picture::textBandHeight) {
                    const test_picture::Rgb c = test_picture::pixel(clientX, clientY, frame);
                    expected = std::uint32_t{c.r} << 16 | std::uint32_t{c.g} << 8 | c.b;
                }
            }
            if (!expected) continue;
            ++result.compared;
            if (picture.at(x, y) != *expected) ++result.differing;
        }
    }
    return result;
}

}  // namespace skl::x11test
