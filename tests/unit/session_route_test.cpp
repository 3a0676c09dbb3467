#include <gtest/gtest.h>

#include "capture/SessionRoute.h"

namespace skl {
namespace {

TEST(SessionRoute, AnXServerOfItsOwnIsReadAsX11WhateverTheSessionAround) {
    EXPECT_EQ(captureRouteFor({}), CaptureRoute::X11);
    // A nested X server in a sway session: its screen can be read like any X11 one.
    EXPECT_EQ(captureRouteFor({.xScreenCanBeRead = true, .swayAnswers = true}), CaptureRoute::X11);
}

TEST(SessionRoute, AnXServerWithoutAScreenGoesThroughSwayOnlyWhereSwayAnswers) {
    EXPECT_EQ(captureRouteFor({.xScreenCanBeRead = false, .swayAnswers = true}), CaptureRoute::Sway);
    EXPECT_EQ(captureRouteFor({.xScreenCanBeRead = false, .swayAnswers = false}), CaptureRoute::XWayland);
}

}  // namespace
}  // namespace skl
