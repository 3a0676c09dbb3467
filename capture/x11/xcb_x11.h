#pragma once
// Owners of what xcb hands out: the connection to the X server, with the screen
// and the atoms the capture uses, and replies, which are freed with free().

#include <xcb/xcb.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace skl {

struct FreeDeleter {
    void operator()(void* memory) const noexcept { std::free(memory); }
};

template <typename Reply>
using XcbReply = std::unique_ptr<Reply, FreeDeleter>;

// The reply to a request sent earlier; empty when the server answered with an error
// (BadWindow for a window that is gone, say) or the connection has broken.
template <auto replyFunction, typename Cookie>
auto replyTo(xcb_connection_t* connection, Cookie cookie) {
    xcb_generic_error_t* error = nullptr;
    auto* reply = replyFunction(connection, cookie, &error);
    std::free(error);
    return XcbReply<std::remove_pointer_t<decltype(reply)>>(reply);
}

// The atoms that are not predefined.
struct XcbAtoms {
    xcb_atom_t netClientList = XCB_ATOM_NONE;
    xcb_atom_t netClientListStacking = XCB_ATOM_NONE;
    xcb_atom_t netWmName = XCB_ATOM_NONE;
    xcb_atom_t netFrameExtents = XCB_ATOM_NONE;
    xcb_atom_t utf8String = XCB_ATOM_NONE;
    xcb_atom_t compoundText = XCB_ATOM_NONE;
    xcb_atom_t wmState = XCB_ATOM_NONE;
    xcb_atom_t wmChangeState = XCB_ATOM_NONE;
    xcb_atom_t netActiveWindow = XCB_ATOM_NONE;
    xcb_atom_t netSupportingWmCheck = XCB_ATOM_NONE;
    xcb_atom_t netSupported = XCB_ATOM_NONE;
    xcb_atom_t netWmState = XCB_ATOM_NONE;
    xcb_atom_t netWmStateAbove = XCB_ATOM_NONE;
    // _NET_WM_CM_S<screen>: owned by the compositing manager of the connection's screen.
    xcb_atom_t netWmCmScreen = XCB_ATOM_NONE;
    xcb_atom_t netWmWindowOpacity = XCB_ATOM_NONE;
    // A property of the program's own, changed only to learn the server's time.
    xcb_atom_t timeStamp = XCB_ATOM_NONE;
};

// A request for a window's property as 32-bit units (format 32: CARDINAL, WINDOW,
// ATOM, WM_STATE and the like), sent and not answered yet.
struct UnitsRequest {
    xcb_get_property_cookie_t cookie;
    xcb_atom_t type;
};

struct RootSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// A connection of the program's own, apart from the one its window toolkit holds.
class XcbConnection {
public:
    // Connects to the display named, or to $DISPLAY's for nullptr; whether that
    // worked is connected()'s to say.
    explicit XcbConnection(const char* displayName = nullptr);
    ~XcbConnection() { xcb_disconnect(connection_); }
    XcbConnection(const XcbConnection&) = delete;
    XcbConnection& operator=(const XcbConnection&) = delete;

    // False when connecting failed or the connection has broken since.
    bool connected() const { return screen_ != nullptr && xcb_connection_has_error(connection_) == 0; }
    xcb_connection_t* get() const { return connection_; }
    // The default screen; only while connected.
    const xcb_screen_t& screen() const { return *screen_; }
    xcb_window_t root() const { return screen_->root; }
    // The root window's size now: followed as the screen grows or shrinks (RandR
    // resizes the root), from the events this connection asked for on it.
    RootSize rootSize() const;
    // The X server's time now, learnt from a change to a property of the window.
    xcb_timestamp_t serverTime(xcb_window_t window) const;
    const XcbAtoms& atoms() const { return atoms_; }
    // Another atom by its name, in a round trip of its own; XCB_ATOM_NONE where
    // onlyIfExists and no client has named it yet, or on an error.
    xcb_atom_t atom(std::string_view name, bool onlyIfExists = false) const;
    // Whether the server lets its screen be read. A Wayland session's X server
    // (XWayland) has no screen of its own: it refuses, or, through shared memory,
    // answers with pixels that are not the screen's.
    bool screenCanBeRead() const;
    // The display's name as it was given; nullptr for $DISPLAY's.
    const char* displayName() const { return displayName_ ? displayName_->c_str() : nullptr; }
    // Sends a request for at most `most` 32-bit units of the window's property of
    // type `type`; propertyUnits reads the answer, so that several requests go out
    // before the first answer is waited for.
    UnitsRequest requestPropertyUnits(xcb_window_t window, xcb_atom_t property, xcb_atom_t type,
                                      std::uint32_t most) const;
    // The property's value as 32-bit units; nothing when the window is gone, or the
    // property is missing, of another type than asked for, or not of 32-bit units.
    std::optional<std::vector<std::uint32_t>> propertyUnits(UnitsRequest request) const;
    // Both, for a property read on its own.
    std::optional<std::vector<std::uint32_t>> propertyUnits(xcb_window_t window, xcb_atom_t property, xcb_atom_t type,
                                                            std::uint32_t most) const {
        return propertyUnits(requestPropertyUnits(window, property, type, most));
    }
    // Sends a client message about one of the window manager's windows to the root,
    // as the window manager protocols ask (without flushing).
    void tellWindowManager(xcb_window_t window, xcb_atom_t message, std::array<std::uint32_t, 5> data) const;

private:
    // Notes what an event of the connection tells.
    void note(const xcb_generic_event_t& event) const;

    std::optional<std::string> displayName_;
    xcb_connection_t* connection_;
    const xcb_screen_t* screen_ = nullptr;
    XcbAtoms atoms_;
    mutable RootSize rootSize_;
};

// A property's value as bytes, as the reply to its request holds it.
inline std::string_view propertyBytes(const xcb_get_property_reply_t& reply) {
    return {static_cast<const char*>(xcb_get_property_value(&reply)),
            static_cast<std::size_t>(xcb_get_property_value_length(&reply))};
}

// Asking the window manager to keep a window above the others, or no longer: a
// _NET_WM_STATE message adding or removing _NET_WM_STATE_ABOVE, as On Top and a
// window coming back from stepping aside both ask.

// The source indication of window manager requests: a request from an application.
inline constexpr std::uint32_t fromAnApplication = 1;

// Sends the request without flushing.
void askToStayAbove(const XcbConnection& x, xcb_window_t window, bool above);

}  // namespace skl
