#include "capture/x11/frame_x11.h"

#include <span>

#include "capture/WindowFrame.h"

namespace skl {
namespace {

// Frames nest a few levels deep at most; the bound keeps a broken tree from looping.
constexpr int deepestFrame = 8;

// The values of a frame extents property read as CARDINAL; none when it is missing
// or of another type or format.
std::span<const std::uint32_t> cardinalsOf(const xcb_get_property_reply_t* reply) {
    if (reply == nullptr || reply->type != XCB_ATOM_CARDINAL || reply->format != 32) return {};
    return {static_cast<const std::uint32_t*>(xcb_get_property_value(reply)),
            static_cast<std::size_t>(xcb_get_property_value_length(reply)) / sizeof(std::uint32_t)};
}

std::optional<ScreenRect> rectangleOf(const XcbConnection& x, xcb_window_t window) {
    xcb_connection_t* const connection = x.get();
    const auto cornerCookie = xcb_translate_coordinates(connection, window, x.root(), 0, 0);
    const auto geometryCookie = xcb_get_geometry(connection, window);
    const auto corner = replyTo<xcb_translate_coordinates_reply>(connection, cornerCookie);
    const auto geometry = replyTo<xcb_get_geometry_reply>(connection, geometryCookie);
    if (!corner || !geometry) return std::nullopt;
    return outerFrame({{corner->dst_x, corner->dst_y}, geometry->width, geometry->height, geometry->border_width},
                      std::nullopt);
}

}  // namespace

std::optional<xcb_window_t> topLevelAncestor(const XcbConnection& x, xcb_window_t window) {
    if (!x.connected()) return std::nullopt;
    xcb_window_t current = window;
    for (int level = 0; level < deepestFrame; ++level) {
        const auto tree = replyTo<xcb_query_tree_reply>(x.get(), xcb_query_tree(x.get(), current));
        if (!tree) return std::nullopt;
        if (tree->parent == tree->root || tree->parent == XCB_WINDOW_NONE) break;
        current = tree->parent;
    }
    return current;
}

std::optional<ScreenRect> outerFrameOf(const XcbConnection& x, xcb_window_t window) {
    if (!x.connected()) return std::nullopt;
    xcb_connection_t* const connection = x.get();
    // One round trip where the window manager publishes the extents: all three
    // requests go out before the first reply is read. One value beyond the four of
    // the extents shows a longer property.
    const auto cornerCookie = xcb_translate_coordinates(connection, window, x.root(), 0, 0);
    const auto geometryCookie = xcb_get_geometry(connection, window);
    const auto extentsCookie =
        xcb_get_property(connection, 0, window, x.atoms().netFrameExtents, XCB_ATOM_CARDINAL, 0, 5);
    const auto corner = replyTo<xcb_translate_coordinates_reply>(connection, cornerCookie);
    const auto geometry = replyTo<xcb_get_geometry_reply>(connection, geometryCookie);
    const auto extents = replyTo<xcb_get_property_reply>(connection, extentsCookie);
    if (!corner || !geometry) return std::nullopt;  // BadWindow: the window is gone

    if (const auto published = frameExtentsFrom(cardinalsOf(extents.get()))) {
        return outerFrame({{corner->dst_x, corner->dst_y}, geometry->width, geometry->height, geometry->border_width},
                          published);
    }
    // Without published extents (tiling and classic window managers), the frame
    // is the window manager's window around the client.
    const auto frame = topLevelAncestor(x, window);
    if (!frame) return std::nullopt;
    return rectangleOf(x, *frame);
}

bool isViewable(const XcbConnection& x, xcb_window_t window) {
    if (!x.connected()) return false;
    const auto attributes =
        replyTo<xcb_get_window_attributes_reply>(x.get(), xcb_get_window_attributes(x.get(), window));
    return attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
}

}  // namespace skl
