#include "SessionRoute.h"

namespace skl {

CaptureRoute captureRouteFor(const SessionFacts& session) {
    // An X server of its own (a nested or virtual one, say) can be read like any
    // X11 session's, whatever the session around it is.
    if (session.xScreenCanBeRead) return CaptureRoute::X11;
    return session.gnomeDesktop && session.gnomeExtensionAnswers ? CaptureRoute::Gnome : CaptureRoute::XWayland;
}

bool desktopIsGnome(std::string_view xdgCurrentDesktop) {
    while (!xdgCurrentDesktop.empty()) {
        const auto colon = xdgCurrentDesktop.find(':');
        if (xdgCurrentDesktop.substr(0, colon) == "GNOME") return true;
        if (colon == std::string_view::npos) break;
        xdgCurrentDesktop.remove_prefix(colon + 1);
    }
    return false;
}

}  // namespace skl
