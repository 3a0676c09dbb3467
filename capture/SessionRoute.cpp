#include "SessionRoute.h"

namespace skl {

CaptureRoute captureRouteFor(const SessionFacts& session) {
    // An X server of its own (a nested or virtual one, say) can be read like any
    // X11 session's, whatever the session around it is; KWin on the bus of an X11
    // session has the screen drawn by that X server.
    if (session.xScreenCanBeRead) return CaptureRoute::X11;
    // A SWAYSOCK left in the environment of an X11 session, or naming a compositor
    // that has gone, says nothing of this session.
    if (session.swayAnswers) return CaptureRoute::Sway;
    if (session.kwinOnSessionBus) return CaptureRoute::KWin;
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
