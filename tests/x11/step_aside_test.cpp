// The main window stepping aside on a real X server, with openbox and with no window
// manager: a fixed-size top-level window of another connection, as the program's
// window is its toolkit's, minimised and withdrawn by the adapter, then back at the
// frame it left, above the others where it was, its client corner kept where its
// size hints give it static gravity.

#include <gtest/gtest.h>

#include <algorithm>

#include "ManagedDesktopTest.h"
#include "capture/x11/StepAside_x11.h"
#include "capture/x11/xcb_x11.h"

namespace skl::x11test {
namespace {

constexpr ScreenRect ownClient{300, 200, 640, 420};

// WM_NORMAL_HINTS as a toolkit sets them for a window that it placed and whose
// size the user cannot change: flags, the obsolete place and size, the fixed
// size as least and most, the gravity last.
std::vector<std::uint32_t> fixedSizeHints(bool staticGravity) {
    constexpr std::uint32_t userPosition = 1u << 0, minimumSize = 1u << 4, maximumSize = 1u << 5,
                            gravityGiven = 1u << 9;
    constexpr std::uint32_t northWest = 1, staticGravityValue = 10;
    const auto width = static_cast<std::uint32_t>(ownClient.right - ownClient.left);
    const auto height = static_cast<std::uint32_t>(ownClient.bottom - ownClient.top);
    return {userPosition | minimumSize | maximumSize | gravityGiven,
            static_cast<std::uint32_t>(ownClient.left), static_cast<std::uint32_t>(ownClient.top), width, height,
            width, height, width, height, 0, 0, 0, 0, 0, 0, 0, 0,
            staticGravity ? staticGravityValue : northWest};
}

// The window and the adapter on the program's connection, on a desktop with a
// window manager (which gives the window its WM_STATE) or without one, and what
// every leaving and return must come to.
template <typename Desktop, bool windowManager>
class StepAsideTest : public Desktop {
protected:
    void TearDown() override {
        own_.destroy();
        Desktop::TearDown();
    }

    // Shows the window; once whatever manages it has it in its normal state at the
    // place asked for (by its gravity the frame's corner, or the client's), what the
    // adapter observes of it.
    StepAsideStart show(bool staticGravity = false) {
        own_.setCardinals(XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS, fixedSizeHints(staticGravity));
        own_.setText(XCB_ATOM_WM_NAME, XCB_ATOM_STRING, "Morvath's Skellimor");
        own_.map();
        aside_.setWindow(own_.handle());
        EXPECT_TRUE(waitUntil([&] {
            return isViewable(this->helper, own_.id()) &&
                   wmState(this->helper, own_.id()) == (windowManager ? 1u : 0u) &&
                   placedCorner(staticGravity) == ScreenPoint{ownClient.left, ownClient.top};
        }));
        return aside_.observe();
    }

    std::optional<ScreenPoint> placedCorner(bool staticGravity) const {
        if (staticGravity) return clientCorner(this->helper, own_.id());
        const auto frame = outerFrameOf(this->helper, own_.id());
        if (!frame) return std::nullopt;
        return ScreenPoint{frame->left, frame->top};
    }

    // Asks the window back as the rule does: once, and once more where the first
    // request did not bring it to its place in time.
    bool bringBack(const StepAsideStart& start) {
        aside_.comeBack(start);
        if (waitUntil([&] { return aside_.isBack(start); }, 1s)) return true;
        aside_.comeBack(start);
        return waitUntil([&] { return aside_.isBack(start); });
    }

    // Withdrawn, the window leaves the screen and comes back to its frame and
    // client corner.
    void expectWithdrawnAndBack(const StepAsideStart& start) {
        ASSERT_TRUE(start.frame);
        const auto client = clientCorner(this->helper, own_.id());
        aside_.leave(Leaving::AtOnce, start);
        EXPECT_TRUE(waitUntil([&] { return aside_.hasLeft(); }));
        EXPECT_EQ(aside_.outerFrame(), std::nullopt);
        EXPECT_TRUE(bringBack(start));
        EXPECT_EQ(aside_.outerFrame(), start.frame);
        EXPECT_EQ(clientCorner(this->helper, own_.id()), client);
    }

    bool statesAbove() const {
        const XcbConnection& x = this->helper;
        const auto reply = replyTo<xcb_get_property_reply>(
            x.get(), xcb_get_property(x.get(), 0, own_.id(), x.atoms().netWmState, XCB_ATOM_ATOM, 0, 64));
        if (!reply || reply->format != 32) return false;
        const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
        const auto* end = atoms + xcb_get_property_value_length(reply.get()) / 4;
        return std::find(atoms, end, x.atoms().netWmStateAbove) != end;
    }

    TestWindow own_{this->helper, ownClient};
    X11StepAsideWindow aside_{this->desktop};
};

using StepAsideX11 = StepAsideTest<ManagedDesktopTest, true>;

TEST_F(StepAsideX11, ObservesTheFrameAroundTheClientWithoutACompositor) {
    const StepAsideStart start = show();
    ASSERT_TRUE(start.frame);
    EXPECT_EQ(start.frame, outerFrameOf(helper, own_.id()));
    EXPECT_LT(start.frame->top, clientCorner(helper, own_.id())->y) << "openbox's title bar";
    EXPECT_FALSE(start.composited);
    EXPECT_FALSE(start.above);
}

TEST_F(StepAsideX11, MinimisedWindowHasLeftAndComesBackToItsFrame) {
    const StepAsideStart start = show();
    ASSERT_TRUE(start.frame);
    aside_.leave(Leaving::Minimise, start);
    EXPECT_TRUE(waitUntil([&] { return aside_.hasLeft(); }));
    EXPECT_EQ(wmState(helper, own_.id()), 3u) << "iconic";
    EXPECT_FALSE(aside_.isBack(start));
    EXPECT_TRUE(bringBack(start));
    EXPECT_EQ(wmState(helper, own_.id()), 1u);
    EXPECT_EQ(aside_.outerFrame(), start.frame);
}

TEST_F(StepAsideX11, WithdrawnWindowHasLeftAndComesBackToItsFrame) {
    expectWithdrawnAndBack(show());
}

TEST_F(StepAsideX11, StaticGravityWindowIsBackAtItsClientCorner) {
    expectWithdrawnAndBack(show(true));
}

TEST_F(StepAsideX11, WindowOnTopIsAboveTheOthersAgainOnceBack) {
    StepAsideStart start = show();
    askToStayAbove(helper, own_.id(), true);
    xcb_flush(helper.get());
    ASSERT_TRUE(waitUntil([&] { return statesAbove(); }));
    start = aside_.observe();
    EXPECT_TRUE(start.above);
    for (const Leaving how : {Leaving::AtOnce, Leaving::Minimise}) {
        SCOPED_TRACE(how == Leaving::AtOnce ? "withdrawn" : "minimised");
        aside_.leave(how, start);
        ASSERT_TRUE(waitUntil([&] { return aside_.hasLeft(); }));
        EXPECT_TRUE(bringBack(start));
        EXPECT_TRUE(statesAbove());
    }

    // Switched off, the window is no longer above and comes back as it is.
    askToStayAbove(helper, own_.id(), false);
    xcb_flush(helper.get());
    ASSERT_TRUE(waitUntil([&] { return !statesAbove(); }));
    start = aside_.observe();
    EXPECT_FALSE(start.above);
    aside_.leave(Leaving::AtOnce, start);
    ASSERT_TRUE(waitUntil([&] { return aside_.hasLeft(); }));
    EXPECT_TRUE(bringBack(start));
    EXPECT_FALSE(statesAbove());
}

// With no window manager the window is its own frame, and nothing minimises it.
using NoWindowManagerStepAside = StepAsideTest<DesktopTest, false>;

TEST_F(NoWindowManagerStepAside, WindowIsItsOwnFrameAndAboveAsItsStateSays) {
    StepAsideStart start = show();
    EXPECT_EQ(start.frame, ownClient);
    EXPECT_FALSE(start.composited);
    EXPECT_FALSE(start.above);
    own_.setCardinals(helper.atoms().netWmState, XCB_ATOM_ATOM, {helper.atoms().netWmStateAbove});
    start = aside_.observe();
    EXPECT_TRUE(start.above);
    expectWithdrawnAndBack(start);
}

TEST_F(NoWindowManagerStepAside, MinimisingIsNotCarriedOutAndTheWindowStaysBack) {
    const StepAsideStart start = show();
    aside_.leave(Leaving::Minimise, start);
    sync(desktop);
    EXPECT_FALSE(waitUntil([&] { return aside_.hasLeft(); }, 200ms));
    EXPECT_TRUE(aside_.isBack(start));
    EXPECT_TRUE(bringBack(start));
    EXPECT_EQ(aside_.outerFrame(), ownClient);
}

TEST_F(NoWindowManagerStepAside, WithdrawnWindowHasLeftAndComesBackToItsPlace) {
    expectWithdrawnAndBack(show());
    expectWithdrawnAndBack(aside_.observe());
}

TEST_F(NoWindowManagerStepAside, StaticGravityWindowIsBackAtItsClientCorner) {
    expectWithdrawnAndBack(show(true));
}

}  // namespace
}  // namespace skl::x11test
