#include "RecordingView.h"

#include <string>
#include <string_view>

#include "window/Form1Definition.h"

namespace skl::test {
namespace {

// A pair's name as its pictures are named, less their index: "newcam" for newcam0.
Text pairName(Pair pair) {
    for (const ControlDefinition& row : form1Controls) {
        if (row.pair != pair) continue;
        const std::string_view picture(row.picture);
        return Text(picture.begin(), picture.end() - 1);
    }
    return L"?";
}

}  // namespace

RecordingView::RecordingView(ScriptedDesktop& desktop) : desktop_(desktop) {
    // As the window opens: index 0 of every pair shown, index 1 hidden.
    for (const ControlDefinition& row : form1Controls) {
        if (row.pair) visible[{*row.pair, row.index}] = row.visibleAtStart;
    }
}

Form1Ports RecordingView::form1Ports() {
    return Form1Ports{folderSeparator, family, *this, desktop_.capturePorts(), *this, *this, *this, *this};
}

void RecordingView::setVisible(Pair pair, std::int16_t index, bool isShown) {
    visible[{pair, index}] = isShown;
    if (face) face->setVisible(pair, index, isShown);
    desktop_.log(L"setVisible",
                 pairName(pair) + (L" " + std::to_wstring(index)) + (isShown ? L" shown" : L" hidden"));
}

void RecordingView::setFolderCaption(const Text& caption) {
    folderLabel = caption;
    desktop_.log(L"setFolderCaption", caption);
}

void RecordingView::selectOption1(std::int16_t index) {
    selectedOption1 = index;
    desktop_.log(L"selectOption1", std::to_wstring(index));
}

void RecordingView::setOuterHeightTwips(std::int32_t height) {
    outerHeightTwips = height;
    desktop_.log(L"setOuterHeightTwips", std::to_wstring(height));
}

void RecordingView::focusPicture1() {
    picture1Focused = true;
    desktop_.log(L"focusPicture1");
}

void RecordingView::unload() {
    unloaded = true;
    desktop_.log(L"unload");
}

void RecordingView::openAddress(const Text& address) {
    openedAddresses.push_back(address);
    desktop_.log(L"openAddress", address);
}

std::optional<Text> RecordingView::desktopFolderPath() {
    desktop_.log(L"desktopFolderPath");
    return desktopPath;
}

void RecordingView::setTopmost(WindowHandle window, bool isTopmost) {
    ownersSeen.push_back(window);
    topmost = isTopmost;
    desktop_.log(L"setTopmost", isTopmost ? L"on" : L"off");
}

std::optional<Text> RecordingView::showFolderDialog(WindowHandle owner, const Text& prompt) {
    ownersSeen.push_back(owner);
    folderDialogPrompt = prompt;
    desktop_.log(L"showFolderDialog", prompt);
    return chosenFolder;
}

}  // namespace skl::test
