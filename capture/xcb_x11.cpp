#include "capture/xcb_x11.h"

#include <array>
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
XcbAtoms internAtoms(xcb_connection_t* connection) {
    XcbAtoms atoms;
    const std::array<std::pair<std::string_view, xcb_atom_t*>, 9> names = {{
        {"_NET_CLIENT_LIST", &atoms.netClientList},
        {"_NET_CLIENT_LIST_STACKING", &atoms.netClientListStacking},
        {"_NET_WM_NAME", &atoms.netWmName},
        {"_NET_FRAME_EXTENTS", &atoms.netFrameExtents},
        {"UTF8_STRING", &atoms.utf8String},
        {"COMPOUND_TEXT", &atoms.compoundText},
        {"WM_STATE", &atoms.wmState},
        {"WM_CHANGE_STATE", &atoms.wmChangeState},
        {"_NET_ACTIVE_WINDOW", &atoms.netActiveWindow},
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
    int screenNumber = 0;
    connection_ = xcb_connect(displayName, &screenNumber);  // never null; an error shows in the connection
    if (xcb_connection_has_error(connection_) != 0) return;
    screen_ = screenNumbered(connection_, screenNumber);
    atoms_ = internAtoms(connection_);
}

}  // namespace skl
