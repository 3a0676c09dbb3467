#include "capture/x11/frame_x11.h"

#include <cstdint>
#include <vector>

#include "capture/WindowFrame.h"

namespace skl {
namespace {

// Frames nest a few levels deep at most; the bound keeps a broken tree from looping.
constexpr int deepestFrame = 8;

// The requests for where a window lies, sent and not answered yet.
struct PlaceRequest {
    xcb_translate_coordinates_cookie_t corner;
    xcb_get_geometry_cookie_t geometry;
};

PlaceRequest requestPlace(const XcbConnection& x, xcb_window_t window) {
    return {xcb_translate_coordinates(x.get(), window, x.root(), 0, 0), xcb_get_geometry(x.get(), window)};
}

// Where the window lies in root pixels: its corner inside its border, its size and
// its border; nothing when it is gone (BadWindow).
std::optional<ClientGeometry> placeOf(const XcbConnection& x, PlaceRequest request) {
    const auto corner = replyTo<xcb_translate_coordinates_reply>(x.get(), request.corner);
    const auto geometry = replyTo<xcb_get_geometry_reply>(x.get(), request.geometry);
    if (!corner || !geometry) return std::nullopt;
    return ClientGeometry{{corner->dst_x, corner->dst_y}, geometry->width, geometry->height, geometry->border_width};
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
    // One round trip where the window manager publishes the extents: all three
    // requests go out before the first reply is read. One value beyond the four of
    // the extents shows a longer property.
    const PlaceRequest placeRequest = requestPlace(x, window);
    const UnitsRequest extentsRequest = x.requestPropertyUnits(window, x.atoms().netFrameExtents, XCB_ATOM_CARDINAL, 5);
    const std::optional<ClientGeometry> client = placeOf(x, placeRequest);
    const std::vector<std::uint32_t> extents = x.propertyUnits(extentsRequest).value_or(std::vector<std::uint32_t>{});
    if (!client) return std::nullopt;
    if (const auto published = frameExtentsFrom(extents)) return outerFrame(*client, published);
    // Without published extents (tiling and classic window managers), the frame
    // is the window manager's window around the client.
    const auto frame = topLevelAncestor(x, window);
    if (!frame) return std::nullopt;
    const std::optional<ClientGeometry> framePlace = placeOf(x, requestPlace(x, *frame));
    if (!framePlace) return std::nullopt;
    return outerFrame(*framePlace, std::nullopt);
}

bool isViewable(const XcbConnection& x, xcb_window_t window) {
    if (!x.connected()) return false;
    const auto attributes =
        replyTo<xcb_get_window_attributes_reply>(x.get(), xcb_get_window_attributes(x.get(), window));
    return attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
}

}  // namespace skl
