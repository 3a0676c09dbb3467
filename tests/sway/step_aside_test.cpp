// The main window stepping aside on a real sway (headless, see with_sway.sh): an
// X11 window of the test's own process on XWayland goes to the scratchpad and comes
// back from it to the frame it left, also after being moved meanwhile.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "capture/sway/StepAside_sway.h"
#include "capture/sway/ipc_sway.h"
#include "tests/x11/DisplayHelpers.h"

namespace skl::x11test {
namespace {

TEST(SwayStepAside, WindowGoesToTheScratchpadAndComesBackToItsFrame) {
    const char* socket = std::getenv("SWAYSOCK");
    ASSERT_NE(socket, nullptr) << "run by with_sway.sh";
    const XcbConnection x;
    ASSERT_TRUE(x.connected());
    TestWindow own(x, {100, 100, 440, 320});
    // sway knows an X11 window's process by its _NET_WM_PID.
    own.setCardinals(x.atom("_NET_WM_PID"), XCB_ATOM_CARDINAL, {static_cast<std::uint32_t>(getpid())});
    own.setText(XCB_ATOM_WM_NAME, XCB_ATOM_STRING, "Morvath's Skellimor");
    own.map();
    X11StepAsideWindow x11(x);
    x11.setWindow(own.handle());
    SwayIpc ipc(socket);
    SwayStepAsideWindow aside(ipc, x11);

    ASSERT_TRUE(waitUntil([&] { return aside.observe().frame.has_value(); }));
    const StepAsideStart start = aside.observe();
    EXPECT_FALSE(start.composited);
    EXPECT_FALSE(start.above);
    EXPECT_TRUE(aside.isBack(start));

    for (const Leaving how : {Leaving::AtOnce, Leaving::Minimise}) {
        SCOPED_TRACE(how == Leaving::AtOnce ? "at once" : "minimised");
        aside.leave(how, start);
        EXPECT_TRUE(waitUntil([&] { return aside.hasLeft(); }));
        EXPECT_EQ(aside.outerFrame(), std::nullopt);
        EXPECT_FALSE(aside.isBack(start));
        aside.comeBack(start);
        EXPECT_TRUE(waitUntil([&] { return aside.isBack(start); }));
        EXPECT_EQ(aside.outerFrame(), start.frame);
    }

    // Moved meanwhile, it is put back where it was.
    ipc.request(SwayIpc::Message::RunCommand, "[title=\"^Morvath's Skellimor$\"] move absolute position 10 10");
    ASSERT_TRUE(waitUntil([&] { return aside.outerFrame() != start.frame; }));
    EXPECT_FALSE(aside.isBack(start));
    aside.comeBack(start);
    EXPECT_TRUE(waitUntil([&] { return aside.isBack(start); }));
    EXPECT_EQ(aside.outerFrame(), start.frame);
}

}  // namespace
}  // namespace skl::x11test
