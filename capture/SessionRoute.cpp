#include "SessionRoute.h"

namespace skl {

CaptureRoute captureRouteFor(const SessionFacts& session) {
    // An X server of its own (a nested or virtual one, say) can be read like any
    // X11 session's, whatever the session around it is.
    if (session.xScreenCanBeRead) return CaptureRoute::X11;
    // A SWAYSOCK left in the environment of an X11 session, or naming a compositor
    // that has gone, says nothing of this session.
    return session.swayAnswers ? CaptureRoute::Sway : CaptureRoute::XWayland;
}

}  // namespace skl
