#pragma once
// Form1: the main window's behaviour. It owns the capture state and runs every
// handler of the window against the view and services that the platform provides.

#include <cstdint>

#include "capture/CaptureState.h"
#include "capture/Ports.h"
#include "services/alwaysontop.h"
#include "services/folderBrowser.h"
#include "window/ShellFolders.h"

namespace skl {

enum class Pair : std::uint8_t;  // window/Form1Definition.h

// What the handlers need of the window and its controls, beyond the capture's part.
class Form1View : public CaptureWindow {
public:
    virtual WindowHandle hWnd() = 0;
    virtual void setVisible(Pair pair, std::int16_t index, bool visible) = 0;
    virtual void setFolderCaption(const Text& caption) = 0;
    virtual void selectOption1(std::int16_t index) = 0;
    virtual void setOuterHeightTwips(std::int32_t height) = 0;
    virtual void focusPicture1() = 0;
    virtual void unload() = 0;
};

class Shell {
public:
    virtual ~Shell() = default;
    // Asks the shell to open the address with its "Open" verb; failures are ignored.
    virtual void openAddress(const Text& address) = 0;
};

struct Form1Ports {
    // What ends a folder's path on this platform's file system: "\\" or "/".
    wchar_t folderSeparator;
    // The family of systems the program runs on, as the edition's start-up found it.
    PlatformFamily family;
    Form1View& view;
    CapturePorts capture;
    SpecialFolders& specialFolders;
    TopmostBand& topmost;
    FolderDialog& folderDialog;
    Shell& shell;
};

inline constexpr const wchar_t* homePageAddress = L"http://morvath.example/";
inline constexpr std::int32_t collapsedHeightTwips = 1890;
inline constexpr std::int32_t expandedHeightTwips = 6030;

// "Save To: " followed by the last 37 characters of the folder.
Text folderLabelFor(const Text& saveFolder);

// The help message, lines separated by a lone carriage return.
Text helpText();

class Form1 {
public:
    explicit Form1(const Form1Ports& ports) : ports_(ports) {}

    const CaptureState& state() const { return state_; }

    void Form_Load();
    void Picture1_Click();
    void directions_MouseDown();
    void directions_MouseUp();
    void newcam_MouseDown();
    void newcam_MouseUp();
    void pick_MouseDown();
    void pick_MouseUp();
    void prev_MouseDown();
    void prev_MouseUp();
    void ontop_Click();
    void Option1_Click();
    void optSize_Click();
    void brellow_Click();
    void xit_Click();
    // A press on a pair whose release never came (the window lost the mouse): the
    // pair shows its look at rest again, and its command does not run.
    void pressCancelled(Pair pair);

private:
    void showPressed(Pair pair);
    void showReleased(Pair pair);
    // A switch shows its picture for the new state: index visible, the other hidden.
    void showSwitch(Pair pair, std::int16_t index);

    Form1Ports ports_;
    CaptureState state_;
};

}  // namespace skl
