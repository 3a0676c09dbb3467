#include "capture/x11/clients_x11.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <optional>
#include <utility>

namespace skl {
namespace {

// A list longer than this many windows is read only this far.
constexpr std::uint32_t mostWindowsRead = 1u << 16;
// How far below a top-level window its client is looked for (inside a frame, and
// inside a frame's inner parts).
constexpr int deepestClient = 3;

// The ids of a list of windows, without those no window can have (X window ids
// use at most 29 bits, and 0 is none); nothing unless the reply is such a list.
std::optional<std::vector<xcb_window_t>> windowList(const xcb_get_property_reply_t* reply) {
    if (reply == nullptr || reply->type != XCB_ATOM_WINDOW || reply->format != 32) return std::nullopt;
    const auto* ids = static_cast<const xcb_window_t*>(xcb_get_property_value(reply));
    const auto count = static_cast<std::size_t>(xcb_get_property_value_length(reply)) / sizeof(xcb_window_t);
    std::vector<xcb_window_t> windows;
    windows.reserve(count);
    std::copy_if(ids, ids + count, std::back_inserter(windows),
                 [](xcb_window_t id) { return id != XCB_WINDOW_NONE && id <= 0x7FFFFFFF; });
    return windows;
}

std::vector<xcb_window_t> childrenOf(const xcb_query_tree_reply_t& tree) {
    const xcb_window_t* children = xcb_query_tree_children(&tree);
    return {children, children + xcb_query_tree_children_length(&tree)};
}

// Each child of the root stands for the first window at or below it (breadth
// first) that carries WM_STATE: a window manager without the lists still marks
// its clients so, inside its frames. With no window manager there are no marks and
// the child is its own client.
std::vector<xcb_window_t> clientsFromTree(const XcbConnection& x) {
    xcb_connection_t* const connection = x.get();
    const auto rootTree = replyTo<xcb_query_tree_reply>(connection, xcb_query_tree(connection, x.root()));
    if (!rootTree) return {};
    std::vector<xcb_window_t> clients = childrenOf(*rootTree);
    std::vector<bool> marked(clients.size(), false);

    // The windows at one depth, each with the index of the top-level window it lies in.
    std::vector<std::pair<xcb_window_t, std::size_t>> level;
    for (std::size_t i = 0; i < clients.size(); ++i) level.emplace_back(clients[i], i);

    for (int depth = 0; depth <= deepestClient && !level.empty(); ++depth) {
        std::vector<std::pair<xcb_get_property_cookie_t, xcb_query_tree_cookie_t>> cookies;
        cookies.reserve(level.size());
        for (const auto& [window, topLevel] : level) {
            cookies.emplace_back(xcb_get_property(connection, 0, window, x.atoms().wmState, XCB_GET_PROPERTY_TYPE_ANY, 0, 0),
                                 xcb_query_tree(connection, window));
        }
        std::vector<std::pair<xcb_window_t, std::size_t>> below;
        for (std::size_t i = 0; i < level.size(); ++i) {
            const auto state = replyTo<xcb_get_property_reply>(connection, cookies[i].first);
            const auto tree = replyTo<xcb_query_tree_reply>(connection, cookies[i].second);
            const auto [window, topLevel] = level[i];
            if (marked[topLevel]) continue;
            if (state && state->type != XCB_ATOM_NONE) {
                clients[topLevel] = window;
                marked[topLevel] = true;
            } else if (tree) {
                for (const xcb_window_t child : childrenOf(*tree)) below.emplace_back(child, topLevel);
            }
        }
        level = std::move(below);
    }
    std::reverse(clients.begin(), clients.end());  // the root lists its children bottom first
    return clients;
}

// Whether a window manager that publishes the lists runs: the window named on the
// root by _NET_SUPPORTING_WM_CHECK exists and names itself so. A window manager
// that exited or crashed leaves its last lists on the root.
bool windowManagerRuns(const XcbConnection& x, const xcb_get_property_reply_t* check) {
    const std::optional<std::vector<xcb_window_t>> named = windowList(check);
    if (!named || named->size() != 1) return false;
    xcb_connection_t* const connection = x.get();
    const auto own = replyTo<xcb_get_property_reply>(
        connection, xcb_get_property(connection, 0, named->front(), x.atoms().netSupportingWmCheck, XCB_ATOM_WINDOW, 0, 1));
    const std::optional<std::vector<xcb_window_t>> itself = windowList(own.get());
    return itself && itself->size() == 1 && itself->front() == named->front();
}

}  // namespace

std::vector<xcb_window_t> topLevelClients(const XcbConnection& x) {
    xcb_connection_t* const connection = x.get();
    const auto checkCookie =
        xcb_get_property(connection, 0, x.root(), x.atoms().netSupportingWmCheck, XCB_ATOM_WINDOW, 0, 1);
    const auto stackingCookie = xcb_get_property(connection, 0, x.root(), x.atoms().netClientListStacking,
                                                 XCB_ATOM_WINDOW, 0, mostWindowsRead);
    const auto listCookie =
        xcb_get_property(connection, 0, x.root(), x.atoms().netClientList, XCB_ATOM_WINDOW, 0, mostWindowsRead);
    const auto check = replyTo<xcb_get_property_reply>(connection, checkCookie);
    const auto stacking = replyTo<xcb_get_property_reply>(connection, stackingCookie);
    const auto list = replyTo<xcb_get_property_reply>(connection, listCookie);
    if (!windowManagerRuns(x, check.get())) return clientsFromTree(x);

    // Both lists run from the bottom (or the oldest) to the top (or the newest).
    std::optional<std::vector<xcb_window_t>> windows = windowList(stacking.get());
    if (!windows) windows = windowList(list.get());
    if (!windows) return clientsFromTree(x);
    std::reverse(windows->begin(), windows->end());
    return std::move(*windows);
}

std::vector<xcb_window_t> unmanagedTopLevels(const XcbConnection& x) {
    xcb_connection_t* const connection = x.get();
    const auto rootTree = replyTo<xcb_query_tree_reply>(connection, xcb_query_tree(connection, x.root()));
    if (!rootTree) return {};
    const std::vector<xcb_window_t> children = childrenOf(*rootTree);
    std::vector<xcb_get_window_attributes_cookie_t> cookies;
    cookies.reserve(children.size());
    for (const xcb_window_t child : children) cookies.push_back(xcb_get_window_attributes(connection, child));
    std::vector<xcb_window_t> shown;
    for (std::size_t i = 0; i < children.size(); ++i) {
        const auto attributes = replyTo<xcb_get_window_attributes_reply>(connection, cookies[i]);
        if (attributes && attributes->override_redirect && attributes->map_state == XCB_MAP_STATE_VIEWABLE) {
            shown.push_back(children[i]);
        }
    }
    std::reverse(shown.begin(), shown.end());  // topmost first
    return shown;
}

}  // namespace skl
