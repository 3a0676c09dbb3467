#include "SessionRoute.h"

namespace skl {

CaptureRoute captureRouteFor(const SessionFacts& session) {
    // An X server of its own (a nested or virtual one, say) can be read like any
    // X11 session's, whatever the session around it is.
    return session.xScreenCanBeRead ? CaptureRoute::X11 : CaptureRoute::XWayland;
}

}  // namespace skl
