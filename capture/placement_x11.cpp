#include <span>

#include "capture/WindowFrame.h"
#include "capture/desktop_x11.h"

namespace skl {
namespace {

// The values of a frame extents property read as CARDINAL; none when it is missing
// or of another type or format.
std::span<const std::uint32_t> cardinalsOf(const xcb_get_property_reply_t* reply) {
    if (reply == nullptr || reply->type != XCB_ATOM_CARDINAL || reply->format != 32) return {};
    return {static_cast<const std::uint32_t*>(xcb_get_property_value(reply)),
            static_cast<std::size_t>(xcb_get_property_value_length(reply)) / sizeof(std::uint32_t)};
}

}  // namespace

bool X11WindowLookup::readPlacement(WindowHandle window, WindowPlacement& placement) {
    if (window <= 0 || !x_.connected()) return false;
    xcb_connection_t* const connection = x_.get();
    const auto id = static_cast<xcb_window_t>(window);

    // One round trip: all three requests go out before the first reply is read. One
    // value beyond the four of the frame extents shows a longer property. A minimised
    // window keeps its place, so the corner is where it returns to.
    const auto cornerCookie = xcb_translate_coordinates(connection, id, x_.root(), 0, 0);
    const auto geometryCookie = xcb_get_geometry(connection, id);
    const auto extentsCookie =
        xcb_get_property(connection, 0, id, x_.atoms().netFrameExtents, XCB_ATOM_CARDINAL, 0, 5);
    const auto corner = replyTo<xcb_translate_coordinates_reply>(connection, cornerCookie);
    const auto geometry = replyTo<xcb_get_geometry_reply>(connection, geometryCookie);
    const auto extents = replyTo<xcb_get_property_reply>(connection, extentsCookie);
    if (!corner || !geometry) return false;  // BadWindow: the window is gone

    const ClientGeometry client{{corner->dst_x, corner->dst_y}, geometry->width, geometry->height,
                                geometry->border_width};
    placement.normalPosition = outerFrame(client, frameExtentsFrom(cardinalsOf(extents.get())));
    return true;
}

}  // namespace skl
