#include "capture/x11/xcb_x11.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>

namespace skl {
namespace {

const xcb_screen_t* screenNumbered(xcb_connection_t* connection, int number) {
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; screens.rem > 0; ++i, xcb_screen_next(&screens)) {
        if (i == number) return screens.data;
    }
    return nullptr;
}

// Interns the atoms in one round trip: every request is sent before any reply is read.
XcbAtoms internAtoms(xcb_connection_t* connection, int screenNumber) {
    XcbAtoms atoms;
    const std::string compositorSelection = "_NET_WM_CM_S" + std::to_string(screenNumber);
    const std::array<std::pair<std::string_view, xcb_atom_t*>, 16> names = {{
        {"_NET_CLIENT_LIST", &atoms.netClientList},
        {"_NET_CLIENT_LIST_STACKING", &atoms.netClientListStacking},
        {"_NET_WM_NAME", &atoms.netWmName},
        {"_NET_FRAME_EXTENTS", &atoms.netFrameExtents},
        {"UTF8_STRING", &atoms.utf8String},
        {"COMPOUND_TEXT", &atoms.compoundText},
        {"WM_STATE", &atoms.wmState},
        {"WM_CHANGE_STATE", &atoms.wmChangeState},
        {"_NET_ACTIVE_WINDOW", &atoms.netActiveWindow},
        {"_NET_SUPPORTING_WM_CHECK", &atoms.netSupportingWmCheck},
        {"_NET_SUPPORTED", &atoms.netSupported},
        {"_NET_WM_STATE", &atoms.netWmState},
        {"_NET_WM_STATE_ABOVE", &atoms.netWmStateAbove},
        {compositorSelection, &atoms.netWmCmScreen},
        {"_NET_WM_WINDOW_OPACITY", &atoms.netWmWindowOpacity},
        {"_MORVATHS_SKELLIMOR_TIME_STAMP", &atoms.timeStamp},
    }};
    std::array<xcb_intern_atom_cookie_t, names.size()> cookies{};
    for (std::size_t i = 0; i < names.size(); ++i) {
        cookies[i] = xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(names[i].first.size()),
                                     names[i].first.data());
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (const auto reply = replyTo<xcb_intern_atom_reply>(connection, cookies[i])) *names[i].second = reply->atom;
    }
    return atoms;
}

}  // namespace

XcbConnection::XcbConnection(const char* displayName) {
    if (displayName != nullptr) displayName_ = displayName;
    int screenNumber = 0;
    connection_ = xcb_connect(displayName, &screenNumber);  // never null; an error shows in the connection
    if (xcb_connection_has_error(connection_) != 0) return;
    screen_ = screenNumbered(connection_, screenNumber);
    atoms_ = internAtoms(connection_, screenNumber);
    if (screen_ == nullptr) return;
    rootSize_ = {screen_->width_in_pixels, screen_->height_in_pixels};
    const std::uint32_t structureChanges = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection_, screen_->root, XCB_CW_EVENT_MASK, &structureChanges);
}

xcb_atom_t XcbConnection::atom(std::string_view name, bool onlyIfExists) const {
    const auto reply = replyTo<xcb_intern_atom_reply>(
        connection_, xcb_intern_atom(connection_, onlyIfExists ? 1 : 0, static_cast<std::uint16_t>(name.size()),
                                     name.data()));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

UnitsRequest XcbConnection::requestPropertyUnits(xcb_window_t window, xcb_atom_t property, xcb_atom_t type,
                                                std::uint32_t most) const {
    return {xcb_get_property(connection_, 0, window, property, type, 0, most), type};
}

std::optional<std::vector<std::uint32_t>> XcbConnection::propertyUnits(UnitsRequest request) const {
    const auto reply = replyTo<xcb_get_property_reply>(connection_, request.cookie);
    if (!reply || reply->type != request.type || reply->format != 32) return std::nullopt;
    const auto* units = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    const auto count = static_cast<std::size_t>(xcb_get_property_value_length(reply.get())) / sizeof(std::uint32_t);
    return std::vector<std::uint32_t>(units, units + count);
}

void XcbConnection::note(const xcb_generic_event_t& event) const {
    // The connection's events are the root's changes, the time stamps it asks
    // for, and errors of requests sent without waiting for a reply, which are of
    // no further use.
    if ((event.response_type & 0x7F) == XCB_CONFIGURE_NOTIFY) {
        const auto& changed = reinterpret_cast<const xcb_configure_notify_event_t&>(event);
        if (changed.window == root()) rootSize_ = {changed.width, changed.height};
    }
}

RootSize XcbConnection::rootSize() const {
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        note(*event);
        std::free(event);
    }
    return rootSize_;
}

xcb_timestamp_t XcbConnection::serverTime(xcb_window_t window) const {
    if (!connected()) return XCB_CURRENT_TIME;
    // Appending nothing to a property of the window changes nothing, but the
    // server reports the change with its time.
    const std::uint32_t propertyChanges = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(connection_, window, XCB_CW_EVENT_MASK, &propertyChanges);
    xcb_change_property(connection_, XCB_PROP_MODE_APPEND, window, atoms_.timeStamp, XCB_ATOM_STRING, 8, 0, nullptr);
    xcb_flush(connection_);
    while (xcb_generic_event_t* event = xcb_wait_for_event(connection_)) {
        const std::unique_ptr<xcb_generic_event_t, FreeDeleter> owned(event);
        if ((event->response_type & 0x7F) == XCB_PROPERTY_NOTIFY) {
            const auto& changed = reinterpret_cast<const xcb_property_notify_event_t&>(*event);
            if (changed.window == window && changed.atom == atoms_.timeStamp) return changed.time;
        }
        note(*event);
    }
    return XCB_CURRENT_TIME;  // the connection broke
}

void XcbConnection::tellWindowManager(xcb_window_t window, xcb_atom_t message, std::array<std::uint32_t, 5> data) const {
    if (!connected()) return;
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = message;
    std::copy(data.begin(), data.end(), event.data.data32);
    xcb_send_event(connection_, 0, root(), XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
}

bool XcbConnection::screenCanBeRead() const {
    return replyTo<xcb_get_image_reply>(connection_, xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, root(), 0,
                                                                   0, 1, 1, ~0u)) != nullptr;
}

namespace {

// _NET_WM_STATE actions.
constexpr std::uint32_t removeState = 0;
constexpr std::uint32_t addState = 1;

}  // namespace

void askToStayAbove(const XcbConnection& x, xcb_window_t window, bool above) {
    x.tellWindowManager(window, x.atoms().netWmState,
                        {above ? addState : removeState, x.atoms().netWmStateAbove, 0, fromAnApplication, 0});
}

}  // namespace skl
