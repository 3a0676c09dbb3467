// The route the Linux edition takes to other programs' windows, from what it finds
// of its session at start.

#include <gtest/gtest.h>

#include "capture/SessionRoute.h"

namespace skl {
namespace {

TEST(SessionRoute, AReadableXScreenIsReadWhateverTheDesktop) {
    EXPECT_EQ(captureRouteFor({}), CaptureRoute::X11);
    // A nested or virtual X server in a Wayland session has the screen it draws.
    EXPECT_EQ(captureRouteFor({.xScreenCanBeRead = true, .swayAnswers = true}), CaptureRoute::X11);
    EXPECT_EQ(captureRouteFor({.xScreenCanBeRead = true, .kwinOnSessionBus = true}), CaptureRoute::X11);
    EXPECT_EQ(captureRouteFor({.xScreenCanBeRead = true, .gnomeDesktop = true, .gnomeExtensionAnswers = true}),
              CaptureRoute::X11);
}

TEST(SessionRoute, AnXServerWithoutAScreenGoesThroughTheCompositorThatAnswers) {
    EXPECT_EQ(captureRouteFor({.xScreenCanBeRead = false, .swayAnswers = true}), CaptureRoute::Sway);
    EXPECT_EQ(captureRouteFor({.xScreenCanBeRead = false, .kwinOnSessionBus = true}), CaptureRoute::KWin);
    EXPECT_EQ(captureRouteFor({.xScreenCanBeRead = false, .gnomeDesktop = true, .gnomeExtensionAnswers = true}),
              CaptureRoute::Gnome);
    EXPECT_EQ(captureRouteFor({.xScreenCanBeRead = false, .gnomeDesktop = true, .gnomeExtensionAnswers = false}),
              CaptureRoute::XWayland);
    EXPECT_EQ(captureRouteFor({.xScreenCanBeRead = false}), CaptureRoute::XWayland);
    // An answer on the bus without GNOME's shell behind it is not trusted.
    EXPECT_EQ(captureRouteFor({.xScreenCanBeRead = false, .gnomeDesktop = false, .gnomeExtensionAnswers = true}),
              CaptureRoute::XWayland);
}

TEST(SessionRoute, GnomeIsFoundAmongTheDesktopsNames) {
    EXPECT_TRUE(desktopIsGnome("GNOME"));
    EXPECT_TRUE(desktopIsGnome("ubuntu:GNOME"));
    EXPECT_TRUE(desktopIsGnome("GNOME:GNOME-Classic"));
    EXPECT_FALSE(desktopIsGnome(""));
    EXPECT_FALSE(desktopIsGnome("KDE"));
    EXPECT_FALSE(desktopIsGnome("GNOME-Flashback"));
    EXPECT_FALSE(desktopIsGnome("XGNOME:sway"));
    EXPECT_FALSE(desktopIsGnome("sway:"));
}

}  // namespace
}  // namespace skl
