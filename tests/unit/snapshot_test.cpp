// The snapshot command against the scripted desktop: its outcomes, its order of calls, the
// file it writes and the faults it must survive.

#include <gtest/gtest.h>

#include <cmath>

#include "ScriptedDesktop.h"
#include "capture/BmpFile.h"
#include "capture/Picture.h"
#include "capture/Snapshot.h"

namespace skl::test {
namespace {

using Names = std::vector<Text>;

const Text folder = LR"(C:\Snaps\)";
const Text stamp = L"12-14-2005 21-05-07";  // the fake clock's time

Text expectedPath(const Text& id, int number) {
    return folder + id + L"-" + stamp + L" " + std::to_wstring(number) + L".bmp";
}

class SnapshotTest : public testing::Test {
protected:
    SnapshotTest() {
        state.saveFolder = folder;
        state.osTag = L"NT";
    }

    // What New Cam leaves behind.
    void newCam(const Text& id) {
        desk.idLabel = id;
        state.camTitle = texts::viewerTitlePrefix + id;
    }
    void click() { takeSnapshot(state, ports); }

    ScriptedDesktop desk;
    CaptureState state;
    CapturePorts ports = desk.capturePorts();
};

// --- The ID label ----------------------------------------------------------------

class RefusedId : public SnapshotTest, public testing::WithParamInterface<const wchar_t*> {};

TEST_P(RefusedId, AsksWhoAndChangesNothingElse) {
    desk.openViewer(L"Webcam for " + Text{GetParam()}, {100, 50});
    newCam(GetParam());
    state.camHwnd = 77;
    click();

    ASSERT_EQ(desk.messages.size(), 1u);
    EXPECT_EQ(desk.messages[0].prompt, L"You didn't say whose cam to capture!");
    EXPECT_EQ(desk.messages[0].icon, MessageIcon::Question);
    EXPECT_EQ(desk.messages[0].title, L"Morvath's Skellimor");
    EXPECT_EQ(desk.callNames(), (Names{L"messageBox", L"setIdCaption"}));  // caption set after the box closes
    EXPECT_EQ(desk.idLabel, L"Capture Who?");
    EXPECT_EQ(state.camHwnd, 77);
    EXPECT_EQ(state.shotCounter, 0);
    EXPECT_TRUE(desk.files.empty());
}

INSTANTIATE_TEST_SUITE_P(MarkerValues, RefusedId, testing::Values(L"", L"Capture Who?", L"Not Found"));

TEST_F(SnapshotTest, MissingViewerSaysNotFoundSilentlyThenRefusesTheNextClick) {
    newCam(L"bob");
    state.camHwnd = 77;
    click();
    EXPECT_EQ(desk.callNames(), (Names{L"findWindow", L"setIdCaption"}));
    EXPECT_EQ(desk.calls[0].detail, L"Webcam for bob");
    EXPECT_EQ(desk.idLabel, L"Not Found");
    EXPECT_EQ(state.camHwnd, 0);
    EXPECT_TRUE(desk.messages.empty());

    click();
    ASSERT_EQ(desk.messages.size(), 1u);
    EXPECT_EQ(desk.messages[0].prompt, texts::noIdMessage);
    EXPECT_EQ(desk.idLabel, L"Capture Who?");
    EXPECT_EQ(desk.count(L"leave"), 0u);
    EXPECT_EQ(state.shotCounter, 0);
}

TEST_F(SnapshotTest, DesktopThatHidesWindowsIsExplainedOnceWhenAViewerIsNotFound) {
    desk.hiddenAdvice = L"This desktop shows the program only some windows.";
    for (int round = 0; round < 2; ++round) {
        newCam(L"bob");
        click();
        EXPECT_EQ(desk.idLabel, L"Not Found");
    }
    ASSERT_EQ(desk.messages.size(), 1u);
    EXPECT_EQ(desk.messages[0].prompt, desk.hiddenAdvice);
    EXPECT_EQ(desk.messages[0].title, productTitle);
    EXPECT_TRUE(state.hiddenWindowsExplained);
}

TEST_F(SnapshotTest, ViewerThatClosesBeforeThePlacementQueryCountsAsNotFound) {
    desk.closeBeforePlacement(desk.openViewer(L"Webcam for bob", {100, 50}));
    newCam(L"bob");
    click();
    EXPECT_EQ(desk.callNames(), (Names{L"findWindow", L"restoredCorner", L"setIdCaption"}));
    EXPECT_EQ(desk.idLabel, L"Not Found");
    EXPECT_EQ(state.camHwnd, 0);
    EXPECT_TRUE(desk.messages.empty());
}

TEST_F(SnapshotTest, RefusalAndNotFoundLeaveEveryOtherVariableAsItWas) {
    // A state in which every variable holds a value of its own: one snapshot taken.
    desk.openViewer(L"Webcam for alice", {100, 50});
    newCam(L"alice");
    click();
    ASSERT_EQ(state.shotCounter, 1);
    ASSERT_NE(state.stampText, L"");
    ASSERT_NE(state.grabLeft, 0);
    const CaptureState before = state;

    desk.idLabel = L"Capture Who?";
    click();
    EXPECT_EQ(state, before) << "a refused click changed the capture state";

    newCam(L"bob");
    CaptureState expected = state;
    click();
    ASSERT_EQ(desk.idLabel, L"Not Found");
    expected.camHwnd = 0;
    EXPECT_EQ(state, expected) << "a click without a viewer changed more than the window handle";

    desk.closeBeforePlacement(desk.openViewer(L"Webcam for carol", {300, 300}));
    newCam(L"carol");
    expected = state;
    click();
    ASSERT_EQ(desk.idLabel, L"Not Found");
    EXPECT_EQ(state, expected) << "a viewer gone before its placement changed more than the window handle";
}

// --- A snapshot that succeeds ----------------------------------------------------

TEST_F(SnapshotTest, FoundViewerIsGrabbedPreviewedSavedAndCounted) {
    desk.openViewer(L"Webcam for alice99", {100, 50});
    newCam(L"alice99");
    click();

    // The main window is clear of the camera: the grab comes before it leaves.
    EXPECT_EQ(desk.callNames(), (Names{L"findWindow", L"restoredCorner", L"grab", L"writeNewFile", L"leave",
                                       L"yieldToEvents", L"tryPutBitmap", L"showPreview", L"comeBack"}));
    EXPECT_EQ(state.leftTwips, 1500);
    EXPECT_EQ(state.topTwips, 750);
    EXPECT_EQ(state.grabLeft, 126);
    EXPECT_EQ(state.grabTop, 94);
    EXPECT_EQ(desk.calls[2].detail, L"126,94,448,336");
    EXPECT_EQ(desk.idLabel, L"alice99");
    EXPECT_FALSE(desk.minimised);
    EXPECT_TRUE(desk.messages.empty());

    const Text path = LR"(C:\Snaps\alice99-12-14-2005 21-05-07 0.bmp)";
    EXPECT_EQ(desk.calls[3].detail, path);
    EXPECT_EQ(state.counterText, L"0");
    EXPECT_EQ(state.stampText, stamp);
    EXPECT_EQ(state.shotCounter, 1);

    ASSERT_TRUE(desk.files.contains(path));
    const std::optional<Picture> saved = decodeBmp24(desk.files.at(path));
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->width, 322);
    EXPECT_EQ(saved->height, 242);
    EXPECT_EQ(saved->at(0, 0), positionPixel(126, 94));
    EXPECT_EQ(saved->at(321, 241), positionPixel(447, 335));
    EXPECT_EQ(desk.previewPicture, saved);
    EXPECT_EQ(desk.clipboardPicture, saved);
}

TEST_F(SnapshotTest, ViewerDrawnLargerByTheSystemIsGrabbedLargerAndSavedAtTheCamerasSize) {
    // A viewer that does not know the screen's 144 dots per inch, drawn at 1.5 times.
    const WindowHandle viewer = desk.openViewer(L"Webcam for old", {100, 50});
    desk.pixelScales[viewer] = 1.5;
    newCam(L"old");
    click();
    EXPECT_EQ(state.grabLeft, 139);  // 26 and 44 of the viewer's pixels in
    EXPECT_EQ(state.grabTop, 116);
    EXPECT_EQ(desk.calls[2].detail, L"139,116,622,479");  // 322 x 242 of them
    const std::optional<Picture> saved = decodeBmp24(desk.files.at(expectedPath(L"old", 0)));
    ASSERT_TRUE(saved);
    Picture shown{483, 363, {}};
    for (std::int32_t y = 116; y < 479; ++y)
        for (std::int32_t x = 139; x < 622; ++x) shown.pixels.push_back(positionPixel(x, y));
    EXPECT_EQ(*saved, scaledPicture(shown, 322, 242));
    EXPECT_EQ(desk.clipboardPicture, saved);
    EXPECT_EQ(desk.previewPicture, saved);

    // At 120 dots per inch (1.25 times) the halves round to even.
    desk.pixelScales[viewer] = 1.25;
    desk.calls.clear();
    click();
    EXPECT_EQ(desk.calls[2].detail, L"132,105,534,407");
    const std::optional<Picture> at125 = decodeBmp24(desk.files.at(expectedPath(L"old", 1)));
    ASSERT_TRUE(at125);
    EXPECT_EQ(at125->width, 322);
    EXPECT_EQ(at125->height, 242);

    // Where the system tells nothing believable, the viewer's pixels are the screen's.
    for (const double told : {1.0, 0.0, -2.0, std::nan(""), 100.0}) {
        desk.pixelScales[viewer] = told;
        desk.calls.clear();
        click();
        EXPECT_EQ(state.grabLeft, 126) << told;
        EXPECT_EQ(desk.count(L"bitmapOf"), 0u) << told;
    }
}

TEST_F(SnapshotTest, SmallSizeGrabs162By122) {
    desk.openViewer(L"Webcam for kim", {100, 50});
    newCam(L"kim");
    desk.regularSize = false;
    click();
    EXPECT_EQ(desk.calls[2].detail, L"126,94,288,216");
    const std::optional<Picture> saved = decodeBmp24(desk.files.at(expectedPath(L"kim", 0)));
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->width, 162);
    EXPECT_EQ(saved->height, 122);
}

TEST_F(SnapshotTest, GrabStartsAtCornerPlusOffsetForEveryTwipsFactor) {
    for (const double factor : {15.0, 12.0, 10.0, 1440.0 / 110.0}) {
        SCOPED_TRACE(factor);
        ScriptedDesktop screen;
        screen.twipsX = factor;
        screen.twipsY = 1440.0 / 144.0;
        CaptureState s;
        s.saveFolder = folder;
        screen.openViewer(L"Webcam for z", {333, -217});  // negative: partly above the screen
        screen.idLabel = L"z";
        s.camTitle = L"Webcam for z";
        CapturePorts p = screen.capturePorts();
        takeSnapshot(s, p);
        EXPECT_EQ(s.topTwips, -2170);
        EXPECT_EQ(s.grabLeft, 359);
        EXPECT_EQ(s.grabTop, -173);
        EXPECT_EQ(screen.files.size(), 1u);
    }
}

TEST_F(SnapshotTest, NumbersRunFromZeroAndAFailedLookupUsesNone) {
    desk.openViewer(L"Webcam for alice99", {100, 50});
    newCam(L"alice99");
    click();
    click();
    newCam(L"nobody");
    click();
    newCam(L"alice99");
    click();
    EXPECT_TRUE(desk.files.contains(expectedPath(L"alice99", 0)));
    EXPECT_TRUE(desk.files.contains(LR"(C:\Snaps\alice99-12-14-2005 21-05-07 1.bmp)"));
    EXPECT_TRUE(desk.files.contains(expectedPath(L"alice99", 2)));
    EXPECT_EQ(desk.files.size(), 3u);
    EXPECT_EQ(state.shotCounter, 3);
}

TEST_F(SnapshotTest, IdIsUsedInTheFileNameAsTyped) {
    desk.openViewer(L"Webcam for  al ice ", {0, 0});
    desk.openViewer(LR"(Webcam for sub\bob)", {0, 0});
    newCam(L" al ice ");
    click();
    newCam(LR"(sub\bob)");
    click();
    EXPECT_TRUE(desk.files.contains(LR"(C:\Snaps\ al ice -12-14-2005 21-05-07 0.bmp)"));
    EXPECT_TRUE(desk.files.contains(LR"(C:\Snaps\sub\bob-12-14-2005 21-05-07 1.bmp)"));
}

// --- Faults it survives ----------------------------------------------------------

TEST_F(SnapshotTest, CornerOrRectangleOutOfRangeIsRefusedBeforeMinimising) {
    // Twips overflow; offset overflows; right edge overflows; a factor of 0 gives no
    // pixel position.
    const struct {
        std::int32_t left;
        double factor;
    } cases[] = {{200'000'000, 15.0}, {INT32_MAX - 10, 1.0}, {INT32_MAX - 26 - 100, 1.0}, {100, 0.0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.left);
        ScriptedDesktop screen;
        screen.twipsX = c.factor;
        screen.openViewer(L"Webcam for far", {c.left, 0});
        screen.idLabel = L"far";
        CaptureState s;
        s.camTitle = L"Webcam for far";
        CapturePorts p = screen.capturePorts();
        takeSnapshot(s, p);
        EXPECT_EQ(screen.callNames(), (Names{L"findWindow", L"restoredCorner", L"messageBox"}));
        ASSERT_EQ(screen.messages.size(), 1u);
        EXPECT_NE(screen.messages[0].prompt.find(L"cannot be captured"), Text::npos);
        EXPECT_EQ(screen.messages[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(screen.messages[0].title, productTitle);
        EXPECT_EQ(screen.idLabel, L"far");
        EXPECT_TRUE(screen.files.empty());
        EXPECT_EQ(s.shotCounter, 0);
    }
}

TEST_F(SnapshotTest, GrabFailureSavesNothingAndSaysWhy) {
    desk.openViewer(L"Webcam for bob", {10, 10});
    newCam(L"bob");
    desk.grabFails = true;
    click();
    EXPECT_EQ(desk.callNames(), (Names{L"findWindow", L"restoredCorner", L"grab", L"leave", L"yieldToEvents",
                                       L"comeBack", L"messageBox"}));
    EXPECT_EQ(desk.messages[0].prompt, L"The screen could not be copied, so no snapshot was saved.");
    EXPECT_FALSE(desk.previewPicture);
    EXPECT_EQ(state.shotCounter, 0);

    desk.grabFailure = L"The X server refused to copy the screen.";
    click();
    EXPECT_EQ(desk.messages[1].prompt,
              L"The screen could not be copied, so no snapshot was saved.\n\nThe X server refused to copy the screen.");

    // A picture of another size than asked for is not the camera's.
    desk.grabFails = false;
    desk.grabbedSize = ScreenPoint{1, 1};
    click();
    EXPECT_EQ(desk.messages[2].prompt,
              L"The screen could not be copied, so no snapshot was saved.\n\nThe window system gave a picture of 1 x 1 "
              L"pixels where 322 x 242 were asked for.");
    EXPECT_TRUE(desk.files.empty());
    EXPECT_FALSE(desk.clipboardPicture);
    EXPECT_FALSE(desk.previewPicture);
    EXPECT_EQ(state.shotCounter, 0);
}

TEST_F(SnapshotTest, ViewersOwnPictureIsGrabbedFirstEvenUnderTheWindow) {
    desk.openViewer(L"Webcam for bob", {10, 10});
    newCam(L"bob");
    desk.readsViewersPicture = true;
    desk.ownFrame = ScreenRect{0, 0, 341, 400};  // over the camera
    click();
    EXPECT_EQ(desk.callNames(), (Names{L"findWindow", L"restoredCorner", L"grab", L"writeNewFile", L"leave",
                                       L"yieldToEvents", L"tryPutBitmap", L"showPreview", L"comeBack"}));
    ASSERT_TRUE(desk.previewPicture);
    EXPECT_EQ(desk.previewPicture->at(0, 0), desk.screenPixel(36, 54));
}

TEST_F(SnapshotTest, ExistingFileIsKeptAndTheNextNumberTaken) {
    desk.openViewer(L"Webcam for bob", {10, 10});
    newCam(L"bob");
    desk.files[expectedPath(L"bob", 0)] = {1, 2, 3};
    click();
    EXPECT_EQ(desk.files.at(expectedPath(L"bob", 0)), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_TRUE(desk.files.contains(expectedPath(L"bob", 1)));
    EXPECT_EQ(state.counterText, L"1");
    EXPECT_EQ(state.shotCounter, 2);
    EXPECT_TRUE(desk.messages.empty());
}

TEST_F(SnapshotTest, FailedSaveNamesFileAndReasonAndKeepsTheNumber) {
    desk.openViewer(L"Webcam for bob", {10, 10});
    newCam(L"bob");
    desk.scriptedWrites.push_back({WriteResult::Status::Failed, L"The disk is full."});
    click();
    EXPECT_EQ(desk.callNames({L"writeNewFile", L"comeBack", L"messageBox"}),
              (Names{L"writeNewFile", L"comeBack", L"messageBox"}));
    const Text& prompt = desk.messages.at(0).prompt;
    EXPECT_NE(prompt.find(expectedPath(L"bob", 0)), Text::npos);
    EXPECT_NE(prompt.find(L"The disk is full."), Text::npos);
    EXPECT_NE(prompt.find(L"preview and on the clipboard"), Text::npos);
    EXPECT_TRUE(desk.previewPicture);
    EXPECT_EQ(state.shotCounter, 0);

    click();  // the disk has room again
    EXPECT_TRUE(desk.files.contains(expectedPath(L"bob", 0)));
}

TEST_F(SnapshotTest, BusyClipboardIsRetriedThenTheFileIsStillSaved) {
    desk.openViewer(L"Webcam for bob", {10, 10});
    newCam(L"bob");
    desk.clipboardBusyTries = 5;
    click();
    EXPECT_TRUE(desk.clipboardPicture);
    EXPECT_TRUE(desk.messages.empty());

    desk.clipboardBusyTries = 1'000'000;
    desk.clipboardPicture.reset();
    const std::int64_t before = desk.monotonicMs;
    click();
    EXPECT_GE(desk.monotonicMs - before, clipboardRetryMilliseconds);
    EXPECT_LE(desk.monotonicMs - before, clipboardRetryMilliseconds + clipboardRetryPauseMilliseconds);
    EXPECT_FALSE(desk.clipboardPicture);
    EXPECT_TRUE(desk.files.contains(expectedPath(L"bob", 1)));
    ASSERT_EQ(desk.messages.size(), 1u);
    EXPECT_NE(desk.messages[0].prompt.find(expectedPath(L"bob", 1)), Text::npos);
    EXPECT_NE(desk.messages[0].prompt.find(L"clipboard"), Text::npos);
    EXPECT_EQ(desk.callNames().back(), L"messageBox");
}

TEST_F(SnapshotTest, ClickDuringTheYieldIsIgnoredAndSeesTheLookupDone) {
    const WindowHandle viewer = desk.openViewer(L"Webcam for bob", {10, 10});
    newCam(L"bob");
    desk.ownFrame = ScreenRect{0, 0, 341, 400};  // over the camera: the grab waits until after the yield
    desk.onCall = [&](const Call& call) {
        if (call.what != L"yieldToEvents") return;
        EXPECT_EQ(state.camHwnd, viewer);
        EXPECT_EQ(state.leftTwips, 150);
        EXPECT_EQ(state.shotCounter, 0);
        click();
    };
    click();
    EXPECT_EQ(desk.count(L"findWindow"), 1u);
    EXPECT_EQ(desk.files.size(), 1u);

    desk.onCall = nullptr;
    click();  // and the next click after it works
    EXPECT_EQ(desk.files.size(), 2u);
}

TEST_F(SnapshotTest, LastNumberIsSavedThenFurtherClicksAreRefused) {
    desk.openViewer(L"Webcam for bob", {10, 10});
    newCam(L"bob");
    state.shotCounter = INT16_MAX;
    click();
    EXPECT_TRUE(desk.files.contains(expectedPath(L"bob", 32767)));
    EXPECT_TRUE(desk.messages.empty());

    click();
    EXPECT_EQ(desk.files.size(), 1u);
    EXPECT_EQ(desk.count(L"findWindow"), 1u);
    ASSERT_EQ(desk.messages.size(), 1u);
    EXPECT_NE(desk.messages[0].prompt.find(L"32767"), Text::npos);
    EXPECT_EQ(state.shotCounter, INT16_MAX);
}

TEST_F(SnapshotTest, LastNumberTakenByAnEarlierRunIsRefusedWithoutOverwriting) {
    desk.openViewer(L"Webcam for bob", {10, 10});
    newCam(L"bob");
    state.shotCounter = INT16_MAX;
    desk.files[expectedPath(L"bob", 32767)] = {9};
    click();
    EXPECT_EQ(desk.files.at(expectedPath(L"bob", 32767)), (std::vector<std::uint8_t>{9}));
    EXPECT_EQ(desk.files.size(), 1u);
    ASSERT_EQ(desk.messages.size(), 1u);
    EXPECT_TRUE(state.numbersUsedUp);
    EXPECT_EQ(desk.callNames().back(), L"messageBox");
}

// --- File names --------------------------------------------------------------------

TEST(SnapshotName, StampIsMonthDayYearOnThe24HourClock) {
    EXPECT_EQ(formatStamp({2006, 3, 1, 0, 0, 5}), L"03-01-2006 00-00-05");
    EXPECT_EQ(formatStamp({2006, 3, 1, 13, 0, 0}), L"03-01-2006 13-00-00");
    EXPECT_EQ(formatStamp({2005, 12, 14, 23, 59, 59}), L"12-14-2005 23-59-59");
}

}  // namespace
}  // namespace skl::test
