// Getting the main window out of the picture and back, on the scripted desktop:
// clear of the camera or covering it, with and without a compositor, and window
// managers that are late, refuse or put the window elsewhere.

#include <gtest/gtest.h>

#include "ScriptedDesktop.h"
#include "capture/Snapshot.h"
#include "capture/StepAside.h"

namespace skl::test {
namespace {

using Names = std::vector<Text>;

// The camera rectangle of a viewer whose corner is at (100, 50).
constexpr ScreenRect camera{126, 94, 448, 336};
// The main window's frame over the camera's right half, and well away from it.
constexpr ScreenRect overCamera{300, 60, 641, 460};
constexpr ScreenRect awayFromCamera{900, 60, 1241, 460};

class StepAsideTest : public testing::Test {
protected:
    StepAsideTest() {
        state.saveFolder = LR"(C:\Snaps\)";
        state.osTag = L"NT";
        desk.openViewer(L"Webcam for bob", {100, 50});
        desk.idLabel = L"bob";
        state.camTitle = L"Webcam for bob";
    }

    // One snapshot; the milliseconds it took on the fake clock.
    std::int64_t click() {
        const std::int64_t started = desk.monotonicMs;
        takeSnapshot(state, ports);
        return desk.monotonicMs - started;
    }
    // Whether the saved picture holds anything but the camera's pixels.
    bool pictureHasTrace() const {
        const Picture& saved = *desk.previewPicture;
        for (std::int32_t y = 0; y < saved.height; ++y) {
            for (std::int32_t x = 0; x < saved.width; ++x) {
                if (saved.at(x, y) != positionPixel(camera.left + x, camera.top + y)) return true;
            }
        }
        return false;
    }
    Names stepNames() const {
        return desk.callNames({L"grab", L"writeNewFile", L"leave", L"yieldToEvents", L"awaitComposedFrame",
                               L"comeBack", L"showPreview"});
    }

    ScriptedDesktop desk;
    CaptureState state;
    CapturePorts ports = desk.capturePorts();
};

TEST_F(StepAsideTest, WindowClearOfTheCameraIsGrabbedFirstThenMinimisedAndBrought) {
    desk.ownFrame = awayFromCamera;
    desk.leaveTakesMs = 5;
    desk.screenClearsMs = 200;  // a long minimise animation: it cannot reach the picture
    click();
    EXPECT_EQ(stepNames(), (Names{L"grab", L"writeNewFile", L"leave", L"yieldToEvents", L"showPreview",
                                  L"comeBack"}));
    EXPECT_EQ(*desk.leftAs, Leaving::Minimise);
    EXPECT_FALSE(pictureHasTrace());
    EXPECT_FALSE(desk.minimised);
    EXPECT_EQ(desk.ownFrame, awayFromCamera);
}

TEST_F(StepAsideTest, ShadowOfACompositorCountsAsCoveringTheCamera) {
    // The frame ends 10 pixels short of the camera; the compositor's shadow reaches in.
    desk.ownFrame = ScreenRect{448 + 10, 60, 799, 460};
    desk.compositing = true;
    desk.shadowWidth = 30;
    desk.leaveTakesMs = 9;
    desk.screenClearsMs = 120;
    click();
    EXPECT_EQ(*desk.leftAs, Leaving::AtOnce);
    EXPECT_EQ(stepNames().front(), L"leave");
    EXPECT_FALSE(pictureHasTrace());

    // Without a compositor no shadow is drawn, and the same place is clear.
    desk.compositing = false;
    desk.previewPicture.reset();
    desk.calls.clear();
    click();
    EXPECT_EQ(*desk.leftAs, Leaving::Minimise);
    EXPECT_EQ(stepNames().front(), L"grab");
    EXPECT_FALSE(pictureHasTrace());
}

TEST_F(StepAsideTest, CoveringWindowLeavesAtOnceAndTheGrabWaitsUntilTheScreenIsDrawnWithoutIt) {
    desk.ownFrame = overCamera;
    desk.leaveTakesMs = 3;
    click();
    EXPECT_EQ(*desk.leftAs, Leaving::AtOnce);
    EXPECT_EQ(stepNames(), (Names{L"grab", L"leave", L"yieldToEvents", L"grab", L"grab", L"grab", L"writeNewFile",
                                  L"showPreview", L"comeBack"}))
        << "how the window looks, then reads once it has left, until two agree";
    EXPECT_FALSE(pictureHasTrace());
    EXPECT_EQ(desk.ownFrame, overCamera);
    EXPECT_FALSE(desk.minimised);
}

TEST_F(StepAsideTest, FadingCompositorIsWaitedOutNotJudgedByTheWindowsPixels) {
    // The frame is gone at 9 ms; the screen holds the window until 31 ms, then
    // fades it out in frames of 20 ms until 200 ms.
    desk.ownFrame = overCamera;
    desk.compositing = true;
    desk.leaveTakesMs = 9;
    desk.screenClearsMs = 200;
    desk.fadeFrameMs = 20;
    const std::int64_t took = click();
    EXPECT_FALSE(pictureHasTrace());
    EXPECT_GE(took, 200 + SettleRule::composedSettleMilliseconds);
    EXPECT_LT(took, 200 + SettleRule::composedSettleMilliseconds + 10);
}

TEST_F(StepAsideTest, WindowDrawnLateLooksLikeTheCameraAndStillSettlesBeforeTheBound) {
    // The window came back from the last snapshot but is not drawn yet, so how it
    // "looks" is the camera itself: no count of its pixels can ever pass.
    desk.ownFrame = overCamera;
    desk.ownWindowDrawn = false;
    desk.leaveTakesMs = 1;
    const std::int64_t took = click();
    EXPECT_FALSE(pictureHasTrace());
    EXPECT_GE(took, SettleRule::staleSettleMilliseconds);
    EXPECT_LT(took, SettleRule::staleSettleMilliseconds + 5);
}

TEST_F(StepAsideTest, ViewerSlowToRepaintIsWaitedForWithoutACompositor) {
    // The frame is gone at once, but the screen keeps the window's pixels, unchanged,
    // until the viewer repaints what it exposed 120 ms later (a loaded machine).
    desk.ownFrame = overCamera;
    desk.leaveTakesMs = 1;
    desk.screenClearsMs = 120;
    desk.fadeFrameMs = 1'000'000;
    const std::int64_t took = click();
    EXPECT_FALSE(pictureHasTrace());
    EXPECT_GE(took, 120);
    EXPECT_LT(took, 120 + SettleRule::plainSettleMilliseconds);
}

TEST_F(StepAsideTest, ComposedFrameWaitReplacesWatchingTheArea) {
    desk.ownFrame = overCamera;
    desk.compositing = true;
    desk.offersComposedFrames = true;
    click();
    EXPECT_EQ(stepNames(), (Names{L"leave", L"yieldToEvents", L"awaitComposedFrame", L"awaitComposedFrame", L"grab",
                                  L"writeNewFile", L"showPreview", L"comeBack"}));
    EXPECT_FALSE(pictureHasTrace());
}

TEST_F(StepAsideTest, WaitIsBoundedWhenTheWindowNeverLeaves) {
    desk.ownFrame = overCamera;
    desk.leaveTakesMs = 1'000'000;
    const std::int64_t took = click();
    EXPECT_GE(took, SettleRule::limitMilliseconds);
    EXPECT_LT(took, SettleRule::limitMilliseconds + StepAside::returnAllowanceMilliseconds);
    EXPECT_EQ(state.shotCounter, 1) << "the snapshot is still taken and saved";
}

TEST_F(StepAsideTest, WindowManagerLateToMinimiseIsWaitedForBeforeTheWindowComesBack) {
    desk.ownFrame = awayFromCamera;
    desk.leaveTakesMs = 40;  // carries out the minimise only after later requests
    ScriptedDesktop& d = desk;
    std::int64_t comeBackAt = -1;
    d.onCall = [&d, &comeBackAt](const Call& call) {
        if (call.what == L"comeBack") comeBackAt = d.monotonicMs - d.leftAt;
    };
    click();
    EXPECT_EQ(comeBackAt, 40);
    EXPECT_FALSE(desk.minimised);

    // One that cannot minimise at all costs only the allowance.
    desk.minimiseIgnored = true;
    click();
    EXPECT_EQ(comeBackAt, StepAside::minimiseAllowanceMilliseconds);
    EXPECT_FALSE(desk.minimised);
}

TEST_F(StepAsideTest, DroppedOrMisplacedReturnIsAskedOnceMore) {
    desk.ownFrame = overCamera;
    desk.comeBacksDropped = 1;
    click();
    EXPECT_EQ(desk.count(L"comeBack"), 2u);
    EXPECT_FALSE(desk.minimised);

    // The window manager puts the window back a title bar lower (as after a hide):
    // it is moved back as soon as it shows there.
    desk.calls.clear();
    desk.misplacedOnReturn = ScreenRect{300, 80, 641, 480};
    EXPECT_LT(click(), StepAside::returnAllowanceMilliseconds);
    EXPECT_EQ(desk.count(L"comeBack"), 2u);
    EXPECT_EQ(desk.ownFrame, overCamera);

    // One that never brings it back is asked twice and no more.
    desk.calls.clear();
    desk.comeBacksDropped = 5;
    click();
    EXPECT_EQ(desk.count(L"comeBack"), 2u);
}

TEST_F(StepAsideTest, WindowOnTopIsAboveTheOthersAgainOnceBack) {
    // Withdrawn, the window loses the state; the window system is asked for it with the return.
    desk.ownFrame = overCamera;
    desk.ownAbove = true;
    click();
    EXPECT_EQ(*desk.leftAs, Leaving::AtOnce);
    EXPECT_TRUE(desk.ownAbove);
    EXPECT_EQ(desk.count(L"comeBack"), 1u);

    // Back below the others is not back: asked once more.
    desk.calls.clear();
    desk.aboveRequestsDropped = 1;
    click();
    EXPECT_TRUE(desk.ownAbove);
    EXPECT_EQ(desk.count(L"comeBack"), 2u);
}

TEST_F(StepAsideTest, WindowWhosePlaceCannotBeToldLeavesAtOnceAndTheWholeRectangleIsWatched) {
    desk.ownFrame.reset();
    desk.leaveTakesMs = 2;
    click();
    EXPECT_EQ(*desk.leftAs, Leaving::AtOnce);
    const auto grabs = desk.callNames({L"grab"});
    ASSERT_GE(grabs.size(), 3u);
    EXPECT_FALSE(pictureHasTrace());

    // Under a compositor too: with no frame to widen by a shadow, the area is watched
    // rather than the compositor's frames waited for.
    desk.calls.clear();
    desk.compositing = true;
    desk.offersComposedFrames = true;
    click();
    EXPECT_EQ(desk.count(L"awaitComposedFrame"), 0u);
    EXPECT_GE(desk.callNames({L"grab"}).size(), 3u);
    EXPECT_FALSE(pictureHasTrace());
}

}  // namespace
}  // namespace skl::test
