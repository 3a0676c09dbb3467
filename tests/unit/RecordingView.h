#pragma once
// The main window and the system services as the handlers' tests see them: a view
// that records what the handlers show, and services that answer from a script. It
// writes into the scripted desktop's call log and lends the desktop the capture's
// part of the window, so the handlers run against both as against one desktop.

#include <cstdint>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "ScriptedDesktop.h"
#include "window/Form1.h"
#include "window/WindowFace.h"

namespace skl::test {

class RecordingView final : public Form1View,
                            public Shell,
                            public SpecialFolders,
                            public TopmostBand,
                            public FolderDialog {
public:
    static constexpr WindowHandle mainWindow = 0x1234;

    explicit RecordingView(ScriptedDesktop& desktop);

    Form1Ports form1Ports();

    // --- Script -------------------------------------------------------------------
    std::optional<Text> chosenFolder;  // nothing: Cancel
    std::optional<Text> desktopPath = Text{LR"(C:\Users\alice\Desktop)"};
    PlatformFamily family = PlatformFamily::WindowsNT;
    wchar_t folderSeparator = L'\\';
    // The face a window toolkit keeps in step with the pictures it shows, if any.
    WindowFace* face = nullptr;

    // --- What happened ------------------------------------------------------------
    std::map<std::pair<Pair, std::int16_t>, bool> visible;
    Text folderLabel;
    std::int16_t selectedOption1 = -1;
    std::int32_t outerHeightTwips = expandedHeightTwips;
    bool picture1Focused = false;
    bool unloaded = false;
    std::vector<Text> openedAddresses;
    std::optional<bool> topmost;
    Text folderDialogPrompt;
    std::vector<WindowHandle> ownersSeen;  // owner handles passed to dialogs and services

    bool isVisible(Pair pair, std::int16_t index) const { return visible.at({pair, index}); }

    // --- Form1View: the capture's part is the desktop's ---------------------------
    Text idCaption() override { return desktop_.idCaption(); }
    void setIdCaption(const Text& caption) override { desktop_.setIdCaption(caption); }
    bool regularSizeSelected() override { return desktop_.regularSizeSelected(); }
    void yieldToEvents() override { desktop_.yieldToEvents(); }
    void showPreview(std::unique_ptr<const GrabbedBitmap> snapshot) override {
        desktop_.showPreview(std::move(snapshot));
    }
    WindowHandle hWnd() override { return mainWindow; }
    void setVisible(Pair pair, std::int16_t index, bool isShown) override;
    void setFolderCaption(const Text& caption) override;
    void selectOption1(std::int16_t index) override;
    void setOuterHeightTwips(std::int32_t height) override;
    void focusPicture1() override;
    void unload() override;

    // --- Services -----------------------------------------------------------------
    void openAddress(const Text& address) override;
    std::optional<Text> desktopFolderPath() override;
    void setTopmost(WindowHandle window, bool isTopmost) override;
    std::optional<Text> showFolderDialog(WindowHandle owner, const Text& prompt) override;

private:
    ScriptedDesktop& desktop_;
};

}  // namespace skl::test
