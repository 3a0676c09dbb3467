// The Linux edition's way to other programs' windows, chosen at start from what it
// finds of its session.

#include <gtest/gtest.h>

#include "capture/SessionRoute.h"

namespace skl {
namespace {

TEST(SessionRoute, AnXServerOfItsOwnIsReadAsX11WhateverTheSessionAround) {
    EXPECT_EQ(captureRouteFor({}), CaptureRoute::X11);
    // A nested or virtual X server in a sway or Plasma session has the screen it draws.
    EXPECT_EQ(captureRouteFor({.xScreenCanBeRead = true, .swayAnswers = true}), CaptureRoute::X11);
    EXPECT_EQ(captureRouteFor({.xScreenCanBeRead = true, .kwinOnSessionBus = true}), CaptureRoute::X11);
}

TEST(SessionRoute, AnXServerWithoutAScreenGoesThroughTheCompositorThatAnswers) {
    EXPECT_EQ(captureRouteFor({.xScreenCanBeRead = false, .swayAnswers = true}), CaptureRoute::Sway);
    EXPECT_EQ(captureRouteFor({.xScreenCanBeRead = false, .kwinOnSessionBus = true}), CaptureRoute::KWin);
    EXPECT_EQ(captureRouteFor({.xScreenCanBeRead = false}), CaptureRoute::XWayland);
}

}  // namespace
}  // namespace skl
