// The main window's start-up and handlers against the scripted desktop and the recording view.

#include <gtest/gtest.h>

#include "RecordingView.h"
#include "ScriptedDesktop.h"
#include "window/Form1.h"

namespace skl::test {
namespace {

using Names = std::vector<Text>;

class Form1Test : public testing::Test {
protected:
    // The look of the pair while the named modal call is open, as (index 0, index 1).
    std::pair<bool, bool> looksDuring(const Text& modal, Pair pair, void (Form1::*handler)()) {
        std::pair<bool, bool> seen{};
        desk.onCall = [&](const Call& call) {
            if (call.what == modal) seen = {view.isVisible(pair, 0), view.isVisible(pair, 1)};
        };
        (form.*handler)();
        desk.onCall = nullptr;
        return seen;
    }

    ScriptedDesktop desk;
    RecordingView view{desk};
    Form1 form{view.form1Ports()};
};

// --- Start-up --------------------------------------------------------------------

TEST_F(Form1Test, LoadGivesTheStateItsStartValues) {
    form.Form_Load();
    const CaptureState& s = form.state();
    EXPECT_EQ(s.isExpanded, 1);
    EXPECT_EQ(s.isOnTop, 1);
    EXPECT_EQ(s.shotCounter, 0);
    EXPECT_EQ(s.camTitle, L"");
    EXPECT_EQ(s.saveFolder, LR"(C:\Users\alice\Desktop\)");
    EXPECT_EQ(view.folderLabel, LR"(Save To: C:\Users\alice\Desktop\)");
    EXPECT_EQ(desk.idLabel, L"Capture Who?");
    EXPECT_EQ(view.ownersSeen, (std::vector<WindowHandle>{RecordingView::mainWindow}));
}

TEST_F(Form1Test, LoadLooksUpThenSelectsTheFamilyThenGoesTopmostBeforeRecordingIt) {
    std::optional<std::uint8_t> onTopWhileSwitching;
    desk.onCall = [&](const Call& call) {
        if (call.what == L"setTopmost") onTopWhileSwitching = form.state().isOnTop;
    };
    form.Form_Load();
    EXPECT_EQ(desk.callNames({L"desktopFolderPath", L"setFolderCaption", L"selectOption1", L"setTopmost"}),
              (Names{L"desktopFolderPath", L"setFolderCaption", L"selectOption1", L"setTopmost"}));
    EXPECT_EQ(view.topmost, true);
    EXPECT_EQ(onTopWhileSwitching, 0);
    EXPECT_EQ(form.state().isOnTop, 1);
}

TEST_F(Form1Test, LongDesktopPathShowsItsLast37Characters) {
    const Text path = LR"(C:\Documents and Settings\Administrator\Desktop)" + Text(3, L'x');
    ASSERT_EQ(path.size(), 50u);
    view.desktopPath = path;
    form.Form_Load();
    EXPECT_EQ(form.state().saveFolder, path + L"\\");
    EXPECT_EQ(view.folderLabel, L"Save To: " + (path + L"\\").substr(51 - 37));
}

TEST_F(Form1Test, DesktopPathUpTo36CharactersShowsWhole) {
    const Text path = LR"(C:\Users\a\Desktop\)" + Text(17, L'd');
    ASSERT_EQ(path.size(), 36u);
    view.desktopPath = path;
    form.Form_Load();
    EXPECT_EQ(view.folderLabel, L"Save To: " + path + L"\\");
}

TEST_F(Form1Test, DesktopPathOfAnyLengthIsKeptWhole) {
    view.desktopPath = Text(300, L'p');
    form.Form_Load();
    EXPECT_EQ(form.state().saveFolder, Text(300, L'p') + L"\\");
}

TEST_F(Form1Test, DesktopPathEndingWithBackslashGetsASecondOne) {
    view.desktopPath = LR"(D:\)";
    form.Form_Load();
    EXPECT_EQ(form.state().saveFolder, LR"(D:\\)");
}

TEST_F(Form1Test, FailedDesktopLookupSavesToTheRoot) {
    view.desktopPath.reset();
    form.Form_Load();
    EXPECT_EQ(form.state().saveFolder, L"\\");
    EXPECT_EQ(view.folderLabel, L"Save To: \\");
    EXPECT_TRUE(desk.messages.empty());
}

TEST_F(Form1Test, OsFamilySelectsItsOption) {
    form.Form_Load();  // the NT family
    EXPECT_EQ(form.state().osTag, L"NT");
    EXPECT_EQ(view.selectedOption1, 1);

    ScriptedDesktop oldDesk;
    RecordingView old{oldDesk};
    old.family = PlatformFamily::Windows9x;
    Form1 oldForm{old.form1Ports()};
    oldForm.Form_Load();
    EXPECT_EQ(oldForm.state().osTag, L"95");
    EXPECT_EQ(old.selectedOption1, 0);
}

TEST_F(Form1Test, ClickOnTheOtherOsOptionIsUndone) {
    form.Form_Load();
    view.selectedOption1 = 0;
    form.Option1_Click();
    EXPECT_EQ(view.selectedOption1, 1);
}

// --- Folder -------------------------------------------------------------------------

TEST(FolderLabel, ShowsTheLast37Characters) {
    const Text forty = LR"(C:\)" + Text(36, L'f') + L"\\";
    ASSERT_EQ(forty.size(), 40u);
    EXPECT_EQ(folderLabelFor(forty), L"Save To: " + forty.substr(3));
    EXPECT_EQ(folderLabelFor(forty.substr(3)), L"Save To: " + forty.substr(3));
    EXPECT_EQ(folderLabelFor(L"\\"), L"Save To: \\");
}

TEST_F(Form1Test, PickFolderAddsOneBackslashExceptAfterARoot) {
    form.Form_Load();
    view.chosenFolder = LR"(C:\Pics)";
    form.pick_MouseUp();
    EXPECT_EQ(form.state().saveFolder, LR"(C:\Pics\)");
    EXPECT_EQ(view.folderLabel, LR"(Save To: C:\Pics\)");
    EXPECT_EQ(view.folderDialogPrompt,
              L"Select the Folder to save the images!\rBy the way: they should be caled 'Directories'! DOS Rules!");
    EXPECT_EQ(view.ownersSeen.back(), RecordingView::mainWindow);

    view.chosenFolder = LR"(C:\)";
    form.pick_MouseUp();
    EXPECT_EQ(form.state().saveFolder, LR"(C:\)");
}

TEST(Form1Folders, PlatformSeparatorEndsEveryFolder) {
    ScriptedDesktop desk;
    RecordingView view{desk};
    view.folderSeparator = L'/';
    view.desktopPath = L"/home/alice/Desktop";
    Form1 form(view.form1Ports());
    form.Form_Load();
    EXPECT_EQ(form.state().saveFolder, L"/home/alice/Desktop/");
    view.chosenFolder = L"/media/pics";
    form.pick_MouseUp();
    EXPECT_EQ(form.state().saveFolder, L"/media/pics/");
    view.chosenFolder = L"/";
    form.pick_MouseUp();
    EXPECT_EQ(form.state().saveFolder, L"/");
    view.desktopPath.reset();
    Form1 nowhere(view.form1Ports());
    nowhere.Form_Load();
    EXPECT_EQ(nowhere.state().saveFolder, L"/");
}

TEST_F(Form1Test, CancelOrAnEmptyPathKeepsTheFolderAndRewritesTheLabel) {
    form.Form_Load();
    const Text before = form.state().saveFolder;
    for (const std::optional<Text>& chosen : {std::optional<Text>{}, std::optional<Text>{Text{}}}) {
        desk.calls.clear();
        view.chosenFolder = chosen;
        form.pick_MouseUp();
        EXPECT_EQ(form.state().saveFolder, before);
        EXPECT_EQ(desk.count(L"setFolderCaption"), 1u);
        EXPECT_EQ(view.folderLabel, L"Save To: " + before);
    }
}

// --- Pressed looks around the modal dialogs -----------------------------------------

TEST_F(Form1Test, ButtonsLookPressedWhileTheirDialogIsOpen) {
    const struct {
        Pair pair;
        void (Form1::*down)();
        void (Form1::*up)();
        const wchar_t* modal;
    } buttons[] = {{Pair::directions, &Form1::directions_MouseDown, &Form1::directions_MouseUp, L"messageBox"},
                   {Pair::newcam, &Form1::newcam_MouseDown, &Form1::newcam_MouseUp, L"inputBox"},
                   {Pair::pick, &Form1::pick_MouseDown, &Form1::pick_MouseUp, L"showFolderDialog"}};
    for (const auto& b : buttons) {
        SCOPED_TRACE(b.modal);
        (form.*b.down)();
        EXPECT_EQ(looksDuring(b.modal, b.pair, b.up), std::make_pair(false, true));
        EXPECT_TRUE(view.isVisible(b.pair, 0));
        EXPECT_FALSE(view.isVisible(b.pair, 1));
    }
}

// --- Switches -----------------------------------------------------------------------

TEST_F(Form1Test, PreviewSwitchCollapsesThenExpands) {
    form.Form_Load();
    form.prev_MouseDown();
    form.prev_MouseUp();
    EXPECT_EQ(view.outerHeightTwips, 1890);
    EXPECT_EQ(form.state().isExpanded, 0);
    EXPECT_FALSE(view.isVisible(Pair::prev, 0));
    EXPECT_TRUE(view.isVisible(Pair::prev, 1));

    form.prev_MouseDown();
    form.prev_MouseUp();
    EXPECT_EQ(view.outerHeightTwips, 6030);
    EXPECT_EQ(form.state().isExpanded, 1);
    EXPECT_TRUE(view.isVisible(Pair::prev, 0));
    EXPECT_FALSE(view.isVisible(Pair::prev, 1));
}

TEST_F(Form1Test, OnTopSwitchTurnsOffThenOn) {
    form.Form_Load();
    form.ontop_Click();
    EXPECT_EQ(view.topmost, false);
    EXPECT_EQ(form.state().isOnTop, 0);
    EXPECT_TRUE(view.isVisible(Pair::ontop, 1));
    EXPECT_FALSE(view.isVisible(Pair::ontop, 0));

    form.ontop_Click();
    EXPECT_EQ(view.topmost, true);
    EXPECT_EQ(form.state().isOnTop, 1);
    EXPECT_TRUE(view.isVisible(Pair::ontop, 0));
    EXPECT_FALSE(view.isVisible(Pair::ontop, 1));
}

// --- Commands -----------------------------------------------------------------------

TEST_F(Form1Test, NewCamKeepsTheIdAsTypedAndCancelLeavesItEmpty) {
    desk.inputAnswers = {L" bob "};
    form.newcam_MouseUp();
    EXPECT_EQ(desk.messages.at(0).prompt, L"Enter the ID of the person's cam to grab");
    EXPECT_EQ(desk.messages.at(0).title, L"Morvath's Skellimor");
    EXPECT_EQ(desk.idLabel, L" bob ");
    EXPECT_EQ(form.state().camTitle, L"Webcam for  bob ");

    form.newcam_MouseUp();  // Cancel
    EXPECT_EQ(desk.idLabel, L"");
    EXPECT_EQ(form.state().camTitle, L"Webcam for ");
}

TEST_F(Form1Test, HelpShowsTheDirectionsWithoutIconUnderTheProductTitle) {
    const Text cr = L"\r";
    const Text expected =
        L"Do the following steps:" + cr +
        L"1.) Select a folder to put the pictures in.(optional)" + cr +
        L"2.) Press the 'New Cam' button, and type the ID of the person's cam. (Cam need not be on yet.)" + cr +
        L"4.) When the webcam has started, select 'small size' for cams that are displaying ... well ... small." +
        cr + L"3.) Press the smiley to save a snapshot of the web cam." + cr +
        L"4.) Continue to click the smiley to take more snapshots!" + cr +
        L"5.) Use the 'On Top' option to keep this program on top of all other programs for your convenience." +
        cr + cr +
        L"Note: If you have XP, and the XP Theme is turned on, then there will be a small part cut off the bottom "
        L"of the saved pics." +
        cr + cr +
        L"On a totally unrelated subject, why does Hollywood keep making movies 'based' on old movies or tv shows "
        L"and then screw up the original? Don't they even WATCH the origional?";
    form.directions_MouseUp();
    ASSERT_EQ(desk.messages.size(), 1u);
    EXPECT_EQ(desk.messages[0].prompt, expected);
    EXPECT_EQ(desk.messages[0].icon, MessageIcon::None);
    EXPECT_EQ(desk.messages[0].title, L"Morvath's Skellimor");
}

TEST_F(Form1Test, SizeOptionFocusesTheSmileyBannerOpensTheHomePageExitUnloads) {
    form.optSize_Click();
    EXPECT_TRUE(view.picture1Focused);
    form.brellow_Click();
    EXPECT_EQ(view.openedAddresses, (Names{homePageAddress}));
    EXPECT_FALSE(view.unloaded);
    form.xit_Click();
    EXPECT_TRUE(view.unloaded);
}

TEST_F(Form1Test, SnapshotAfterStartUpAndNewCamLandsOnTheDesktopAsNumberZero) {
    form.Form_Load();
    desk.inputAnswers = {L"alice99"};
    form.newcam_MouseUp();
    desk.openViewer(L"Webcam for alice99", {100, 50});
    form.Picture1_Click();
    EXPECT_TRUE(desk.files.contains(LR"(C:\Users\alice\Desktop\alice99-12-14-2005 21-05-07 0.bmp)"));
    EXPECT_EQ(form.state().shotCounter, 1);
}

}  // namespace
}  // namespace skl::test
