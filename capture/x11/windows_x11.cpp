#include "capture/x11/windows_x11.h"

#include <algorithm>
#include <clocale>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "capture/Text.h"
#include "capture/WindowName.h"
#include "capture/x11/frame_x11.h"

// Xlib's headers define names such as None and Success: they come last.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace skl {
namespace {

// A list longer than this many windows is read only this far.
constexpr std::uint32_t mostWindowsRead = 1u << 16;
// How far below a top-level window its client is looked for (inside a frame, and
// inside a frame's inner parts).
constexpr int deepestClient = 3;

// The ids of a list of windows, without those no window can have (X window ids
// use at most 29 bits, and 0 is none); nothing unless the property is such a list.
std::optional<std::vector<xcb_window_t>> windowList(std::optional<std::vector<std::uint32_t>> ids) {
    if (ids) std::erase_if(*ids, [](xcb_window_t id) { return id == XCB_WINDOW_NONE || id > 0x7FFFFFFF; });
    return ids;
}

std::vector<xcb_window_t> childrenOf(const xcb_query_tree_reply_t& tree) {
    const xcb_window_t* children = xcb_query_tree_children(&tree);
    return {children, children + xcb_query_tree_children_length(&tree)};
}

// The root's children, bottom first; none when the server answers with an error.
std::vector<xcb_window_t> rootChildren(const XcbConnection& x) {
    const auto tree = replyTo<xcb_query_tree_reply>(x.get(), xcb_query_tree(x.get(), x.root()));
    return tree ? childrenOf(*tree) : std::vector<xcb_window_t>{};
}

// Each child of the root stands for the first window at or below it (breadth
// first) that carries WM_STATE: a window manager without the lists still marks
// its clients so, inside its frames. With no window manager there are no marks and
// the child is its own client.
std::vector<xcb_window_t> clientsFromTree(const XcbConnection& x) {
    xcb_connection_t* const connection = x.get();
    std::vector<xcb_window_t> clients = rootChildren(x);
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

// Whether a window manager that publishes the lists runs: the window `named` on
// the root by _NET_SUPPORTING_WM_CHECK exists and names itself so. A window manager
// that exited or crashed leaves its last lists on the root.
bool windowManagerRuns(const XcbConnection& x, const std::optional<std::vector<xcb_window_t>>& named) {
    if (!named || named->size() != 1) return false;
    const std::optional<std::vector<xcb_window_t>> itself =
        windowList(x.propertyUnits(named->front(), x.atoms().netSupportingWmCheck, XCB_ATOM_WINDOW, 1));
    return itself && itself->size() == 1 && itself->front() == named->front();
}

// The managed top-level windows, minimised ones included, topmost first where the
// window manager tells the stacking order. Without a running window manager's
// lists: the root's children, each stood for by its client window.
std::vector<xcb_window_t> topLevelClients(const XcbConnection& x) {
    const XcbAtoms& atoms = x.atoms();
    const UnitsRequest checkRequest = x.requestPropertyUnits(x.root(), atoms.netSupportingWmCheck, XCB_ATOM_WINDOW, 1);
    const UnitsRequest stackingRequest =
        x.requestPropertyUnits(x.root(), atoms.netClientListStacking, XCB_ATOM_WINDOW, mostWindowsRead);
    const UnitsRequest listRequest =
        x.requestPropertyUnits(x.root(), atoms.netClientList, XCB_ATOM_WINDOW, mostWindowsRead);
    const std::optional<std::vector<xcb_window_t>> named = windowList(x.propertyUnits(checkRequest));
    std::optional<std::vector<xcb_window_t>> stacking = windowList(x.propertyUnits(stackingRequest));
    std::optional<std::vector<xcb_window_t>> list = windowList(x.propertyUnits(listRequest));
    if (!windowManagerRuns(x, named)) return clientsFromTree(x);

    // Both lists run from the bottom (or the oldest) to the top (or the newest).
    std::optional<std::vector<xcb_window_t>> windows = stacking ? std::move(stacking) : std::move(list);
    if (!windows) return clientsFromTree(x);
    std::reverse(windows->begin(), windows->end());
    return std::move(*windows);
}

// The top-level windows that no window manager manages (override-redirect) and
// that show on the screen, topmost first: caption-less windows of some programs.
std::vector<xcb_window_t> unmanagedTopLevels(const XcbConnection& x) {
    xcb_connection_t* const connection = x.get();
    const std::vector<xcb_window_t> children = rootChildren(x);
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

NameEncoding wmNameEncoding(xcb_atom_t type, const XcbAtoms& atoms) {
    if (type == XCB_ATOM_STRING) return NameEncoding::String;
    if (type == atoms.utf8String) return NameEncoding::Utf8;
    if (type == atoms.compoundText) return NameEncoding::CompoundText;
    return NameEncoding::Unreadable;
}

NameProperty nameProperty(const xcb_get_property_reply_t& reply, NameEncoding encoding) {
    if (reply.type == XCB_ATOM_NONE) return {};
    if (reply.format != 8) return {true, NameEncoding::Unreadable, {}, true};
    return {true, encoding, propertyBytes(reply), reply.bytes_after == 0};
}

// LC_CTYPE set to a locale for the object's lifetime, then back to what it was.
class CTypeLocaleScope {
public:
    explicit CTypeLocaleScope(const char* locale) : previous_(std::setlocale(LC_CTYPE, nullptr)) {
        std::setlocale(LC_CTYPE, locale);
    }
    ~CTypeLocaleScope() { std::setlocale(LC_CTYPE, previous_.c_str()); }
    CTypeLocaleScope(const CTypeLocaleScope&) = delete;
    CTypeLocaleScope& operator=(const CTypeLocaleScope&) = delete;

private:
    std::string previous_;
};

struct NameCookies {
    xcb_get_property_cookie_t netWmName;
    xcb_get_property_cookie_t wmName;
};

}  // namespace

void XlibDisplayCloser::operator()(_XDisplay* display) const noexcept {
    XCloseDisplay(display);
}

X11WindowLookup::X11WindowLookup(const XcbConnection& connection, Text hiddenAdvice)
    : x_(connection), hiddenAdvice_(std::move(hiddenAdvice)) {}

X11WindowLookup::~X11WindowLookup() = default;

WindowHandle X11WindowLookup::findWindow(const Text& title) {
    const std::optional<std::string> wanted = encodeUtf8(title);
    if (!wanted || !x_.connected()) return 0;
    if (const WindowHandle managed = firstTitled(topLevelClients(x_), title, *wanted)) return managed;
    // A window that no window manager lists: some programs map their caption-less
    // windows past the window manager.
    return firstTitled(unmanagedTopLevels(x_), title, *wanted);
}

WindowHandle X11WindowLookup::firstTitled(const std::vector<xcb_window_t>& windows, const Text& title,
                                          const std::string& wanted) {
    xcb_connection_t* const connection = x_.get();
    const XcbAtoms& atoms = x_.atoms();
    // A name holds the title in at most as many bytes as its UTF-8 form has (Latin-1
    // takes fewer), so no more is read; one 32-bit unit beyond shows a longer name.
    // Compound text may take more, for its escape sequences.
    const auto units = static_cast<std::uint32_t>(wanted.size() / 4 + 1);
    const auto compoundUnits = static_cast<std::uint32_t>(wanted.size() / 2 + 4);
    // Every request goes out before the first reply is read: one round trip in all.
    std::vector<NameCookies> cookies;
    cookies.reserve(windows.size());
    for (const xcb_window_t window : windows) {
        cookies.push_back({xcb_get_property(connection, 0, window, atoms.netWmName, XCB_GET_PROPERTY_TYPE_ANY, 0, units),
                           xcb_get_property(connection, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, compoundUnits)});
    }

    WindowHandle found = 0;
    for (std::size_t i = 0; i < windows.size(); ++i) {
        if (found != 0) {
            xcb_discard_reply(connection, cookies[i].netWmName.sequence);
            xcb_discard_reply(connection, cookies[i].wmName.sequence);
            continue;
        }
        const auto netWmName = replyTo<xcb_get_property_reply>(connection, cookies[i].netWmName);
        const auto wmName = replyTo<xcb_get_property_reply>(connection, cookies[i].wmName);
        if (!netWmName || !wmName) continue;  // the window is gone already
        // _NET_WM_NAME is UTF-8 by definition, whatever type a program gave it.
        const NameProperty netName = nameProperty(*netWmName, NameEncoding::Utf8);
        NameProperty name = nameProperty(*wmName, wmNameEncoding(wmName->type, atoms));
        std::optional<std::string> converted;
        if (!netName.present && name.encoding == NameEncoding::CompoundText && name.complete &&
            !decodeWindowName(name.encoding, name.bytes)) {
            converted = compoundTextInUtf8(name.bytes);
            if (converted) name = {true, NameEncoding::Utf8, *converted, true};
        }
        if (hasTitle(netName, name, title)) {
            found = static_cast<WindowHandle>(windows[i]);
        }
    }
    return found;
}

std::optional<std::string> X11WindowLookup::compoundTextInUtf8(std::string_view bytes) {
    if (!xlib_) xlib_.reset(XOpenDisplay(x_.displayName()));
    if (!xlib_) return std::nullopt;
    std::string text(bytes);
    XTextProperty property{reinterpret_cast<unsigned char*>(text.data()), x_.atoms().compoundText, 8,
                           static_cast<unsigned long>(text.size())};
    // Xlib converts through the database of the program's locale (the user's, as
    // the toolkit sets it), and converts nothing in a locale it has no database
    // for, of which the C library knows many. Under "C" it still reads every
    // character set that compound text names.
    std::optional<CTypeLocaleScope> convertible;
    if (!XSupportsLocale()) convertible.emplace("C");
    char** list = nullptr;
    int count = 0;
    // A positive result counts characters that could not be converted.
    const int result = Xutf8TextPropertyToTextList(xlib_.get(), &property, &list, &count);
    const std::unique_ptr<char*, decltype(&XFreeStringList)> owned(list, &XFreeStringList);
    if (result != Success || count != 1 || list == nullptr) return std::nullopt;
    return std::string(list[0]);
}

std::optional<ScreenPoint> X11WindowLookup::restoredCorner(WindowHandle window) {
    if (window <= 0) return std::nullopt;
    const auto frame = outerFrameOf(x_, static_cast<xcb_window_t>(window));
    if (!frame) return std::nullopt;
    return ScreenPoint{frame->left, frame->top};
}

}  // namespace skl
