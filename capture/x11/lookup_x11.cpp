#include <clocale>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "capture/Text.h"
#include "capture/WindowName.h"
#include "capture/x11/clients_x11.h"
#include "capture/x11/desktop_x11.h"

// Xlib's headers define names such as None and Success: they come last.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace skl {
namespace {

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


}  // namespace skl
