#include "Form1.h"

#include "capture/Snapshot.h"
#include "window/Form1Definition.h"

namespace skl {
namespace {

// The tag osTag holds for the family: "NT", and for the older family the tag of its
// first system, "95" (the option that tag selects covers all of them).
Text familyTag(PlatformFamily family) {
    return family == PlatformFamily::WindowsNT ? L"NT" : L"95";
}

}  // namespace

Text folderLabelFor(const Text& saveFolder) {
    return L"Save To: " + lastChars(saveFolder, 37);
}

Text helpText() {
    return L"Do the following steps:\r"
           L"1.) Select a folder to put the pictures in.(optional)\r"
           L"2.) Press the 'New Cam' button, and type the ID of the person's cam. (Cam need not be on yet.)\r"
           L"4.) When the webcam has started, select 'small size' for cams that are displaying ... well ... small.\r"
           L"3.) Press the smiley to save a snapshot of the web cam.\r"
           L"4.) Continue to click the smiley to take more snapshots!\r"
           L"5.) Use the 'On Top' option to keep this program on top of all other programs for your "
           L"convenience.\r\r"
           L"Note: If you have XP, and the XP Theme is turned on, then there will be a small part cut off the "
           L"bottom of the saved pics.\r\r"
           L"On a totally unrelated subject, why does Hollywood keep making movies 'based' on old movies or tv "
           L"shows and then screw up the original? Don't they even WATCH the origional?";
}

void Form1::Form_Load() {
    Form1View& view = ports_.view;
    state_.isExpanded = 1;
    state_.shotCounter = 0;
    // Always followed by a separator; without a desktop folder, the separator alone.
    state_.saveFolder = ports_.specialFolders.desktopFolderPath().value_or(Text{}) + ports_.folderSeparator;
    view.setFolderCaption(folderLabelFor(state_.saveFolder));
    state_.osTag = familyTag(ports_.family);
    Option1_Click();  // selects the option of the running system's family
    ports_.topmost.setTopmost(view.hWnd(), true);
    state_.isOnTop = 1;
}

void Form1::Picture1_Click() {
    takeSnapshot(state_, ports_.capture);
}

void Form1::showPressed(Pair pair) {
    ports_.view.setVisible(pair, 0, false);
    ports_.view.setVisible(pair, 1, true);
}

void Form1::showReleased(Pair pair) {
    ports_.view.setVisible(pair, 1, false);
    ports_.view.setVisible(pair, 0, true);
}

void Form1::directions_MouseDown() { showPressed(Pair::directions); }
void Form1::newcam_MouseDown() { showPressed(Pair::newcam); }
void Form1::pick_MouseDown() { showPressed(Pair::pick); }
void Form1::prev_MouseDown() { showPressed(Pair::prev); }

void Form1::directions_MouseUp() {
    ports_.capture.dialogs.messageBox(helpText(), MessageIcon::None, productTitle);
    showReleased(Pair::directions);
}

void Form1::newcam_MouseUp() {
    const Text answer = ports_.capture.dialogs.inputBox(L"Enter the ID of the person's cam to grab", productTitle);
    ports_.view.setIdCaption(answer);
    state_.camTitle = texts::viewerTitlePrefix + answer;
    showReleased(Pair::newcam);
}

void Form1::pick_MouseUp() {
    const std::optional<Text> chosen =
        ports_.folderDialog.showFolderDialog(ports_.view.hWnd(),
                                             L"Select the Folder to save the images!\r"
                                             L"By the way: they should be caled 'Directories'! DOS Rules!");
    // Cancelled, the save folder stays.
    if (chosen && !chosen->empty()) {
        state_.saveFolder = chosen->back() == ports_.folderSeparator ? *chosen : *chosen + ports_.folderSeparator;
    }
    ports_.view.setFolderCaption(folderLabelFor(state_.saveFolder));
    showReleased(Pair::pick);
}

void Form1::showSwitch(Pair pair, std::int16_t index) {
    ports_.view.setVisible(pair, index, true);
    ports_.view.setVisible(pair, index == 0 ? 1 : 0, false);
}

void Form1::pressCancelled(Pair pair) {
    if (pair == Pair::prev) {
        showSwitch(Pair::prev, state_.isExpanded != 0 ? 0 : 1);
    } else {
        showReleased(pair);
    }
}

void Form1::prev_MouseUp() {
    const bool expand = state_.isExpanded == 0;
    showSwitch(Pair::prev, expand ? 0 : 1);
    ports_.view.setOuterHeightTwips(expand ? expandedHeightTwips : collapsedHeightTwips);
    state_.isExpanded = expand ? 1 : 0;
}

void Form1::ontop_Click() {
    const bool turnOn = state_.isOnTop != 1;
    showSwitch(Pair::ontop, turnOn ? 0 : 1);
    ports_.topmost.setTopmost(ports_.view.hWnd(), turnOn);
    state_.isOnTop = turnOn ? 1 : 0;
}

void Form1::Option1_Click() {
    ports_.view.selectOption1(state_.osTag == L"NT" ? 1 : 0);
}

void Form1::optSize_Click() { ports_.view.focusPicture1(); }

void Form1::brellow_Click() { ports_.shell.openAddress(homePageAddress); }

void Form1::xit_Click() { ports_.view.unload(); }

}  // namespace skl
