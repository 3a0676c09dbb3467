// The Linux edition's way to other programs' windows, chosen at start from what it
// finds of its session.

#include <gtest/gtest.h>

#include "capture/SessionRoute.h"

namespace skl {
namespace {

TEST(SessionRoute, XServerOfItsOwnIsReadAsTheScreenWhateverRunsAroundIt) {
    EXPECT_EQ(captureRouteFor({}), CaptureRoute::X11);
    // A nested or virtual X server inside a Plasma session has the screen it draws.
    EXPECT_EQ(captureRouteFor({.xScreenCanBeRead = true, .kwinOnSessionBus = true}), CaptureRoute::X11);
}

TEST(SessionRoute, WaylandSessionGoesThroughKWinWhereItAnswers) {
    EXPECT_EQ(captureRouteFor({.xScreenCanBeRead = false, .kwinOnSessionBus = true}), CaptureRoute::KWin);
    EXPECT_EQ(captureRouteFor({.xScreenCanBeRead = false, .kwinOnSessionBus = false}), CaptureRoute::XWayland);
}

}  // namespace
}  // namespace skl
