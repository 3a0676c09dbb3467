#pragma once
// A scriptable desktop for the unit tests: one object plays every platform interface
// the core talks to and writes what it was asked to do into a call log, so a test can
// check both the outcome and the order of the calls.

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "capture/Ports.h"
#include "capture/Snapshot.h"
#include "window/Form1.h"
#include "window/WindowFace.h"

namespace skl::test {

struct Call {
    Text what;    // the interface method, e.g. L"minimise"
    Text detail;  // its main argument as text, e.g. the path of a written file
};

struct ShownMessage {
    Text prompt;
    MessageIcon icon = MessageIcon::None;
    Text title;
};

class FakeDesktop final : public Form1View,
                          public WindowLookup,
                          public ScreenMetrics,
                          public ScreenGrabber,
                          public Clipboard,
                          public FileStore,
                          public Clock,
                          public Dialogs,
                          public Shell,
                          public SpecialFolders,
                          public OsVersionSource,
                          public TopmostBand,
                          public FolderDialog {
public:
    static constexpr WindowHandle mainWindow = 0x1234;

    FakeDesktop();

    CapturePorts capturePorts();
    Form1Ports form1Ports();

    // --- Script -------------------------------------------------------------------
    // A viewer window with this title whose restored rectangle starts at the corner.
    WindowHandle openViewer(const Text& title, ScreenPoint corner);
    // The window is still found by title but gone when its placement is queried.
    void closeBeforePlacement(WindowHandle window) { placements.erase(window); }

    std::map<Text, WindowHandle> windowsByTitle;
    std::map<WindowHandle, WindowPlacement> placements;
    double twipsX = 15.0;
    double twipsY = 15.0;
    std::function<std::uint32_t(std::int32_t x, std::int32_t y)> screenPixel;
    bool grabFails = false;
    int clipboardBusyTries = 0;  // tryPutBitmap fails this many times first
    // Results of the next writes, in order; once used up every write behaves like a
    // real disk that refuses existing names.
    std::deque<WriteResult> scriptedWrites;
    LocalTime now{2005, 12, 14, 21, 5, 7};
    std::deque<Text> inputAnswers;         // an exhausted queue answers as Cancel
    std::optional<Text> folderDialogBuffer;  // empty: Cancel
    std::optional<Text> desktopPath = Text{LR"(C:\Users\alice\Desktop)"};
    OsVersion osVersion{5, 1, 2600, 2};
    wchar_t folderSeparator = L'\\';
    // Runs right after a call is logged, inside it: lets a test look at or act on the
    // program's state at that moment (a click during the yield, a look at a button
    // while its dialog is open).
    std::function<void(const Call&)> onCall;
    // The face a window toolkit keeps in step with the pictures it shows, if any.
    WindowFace* face = nullptr;

    // --- What happened ------------------------------------------------------------
    std::vector<Call> calls;
    std::vector<ShownMessage> messages;
    std::map<Text, std::vector<std::uint8_t>> files;
    std::optional<Picture> clipboardPicture;
    std::optional<Picture> previewPicture;
    std::vector<DisplayForm> grabForms;
    std::vector<std::int32_t> placementLengthsSeen;
    std::int64_t monotonicMs = 0;
    Text idLabel = texts::askWho;
    bool regularSize = true;
    bool minimised = false;
    std::map<std::pair<Pair, std::int16_t>, bool> visible;
    Text folderLabel;
    std::int16_t selectedOption1 = -1;
    std::int32_t outerHeightTwips = expandedHeightTwips;
    bool picture1Focused = false;
    bool unloaded = false;
    std::vector<Text> openedAddresses;
    std::optional<bool> topmost;
    std::vector<std::int32_t> specialFolderIds;
    Text folderDialogPrompt;
    std::vector<WindowHandle> ownersSeen;  // owner handles passed to dialogs and services

    // The names of the logged calls, in order; only those in `of` when it is given.
    std::vector<Text> callNames(const std::vector<Text>& of = {}) const;
    std::size_t count(const Text& what) const;
    bool isVisible(Pair pair, std::int16_t index) const { return visible.at({pair, index}); }

    // --- CaptureWindow / Form1View ------------------------------------------------
    Text idCaption() override { return idLabel; }
    void setIdCaption(const Text& caption) override;
    bool regularSizeSelected() override { return regularSize; }
    void minimise(const ScreenRect& keepClear) override;
    void yieldToEvents() override { log(L"yieldToEvents"); }
    void waitUntilClear() override { log(L"waitUntilClear"); }
    void restore() override;
    void showPreview(const Picture& picture) override;
    WindowHandle hWnd() override { return mainWindow; }
    void setVisible(Pair pair, std::int16_t index, bool isShown) override;
    void setFolderCaption(const Text& caption) override;
    void selectOption1(std::int16_t index) override;
    void setOuterHeightTwips(std::int32_t height) override;
    void focusPicture1() override;
    void unload() override;

    // --- Capture ports -------------------------------------------------------------
    WindowHandle findWindow(const Text& title) override;
    bool readPlacement(WindowHandle window, WindowPlacement& placement) override;
    double twipsPerPixelX() override { return twipsX; }
    double twipsPerPixelY() override { return twipsY; }
    std::unique_ptr<GrabbedBitmap> grab(const ScreenRect& rect, DisplayForm form) override;
    bool tryPutBitmap(GrabbedBitmap& bitmap) override;
    WriteResult writeNewFile(const Text& path, std::span<const std::uint8_t> bytes) override;
    LocalTime localNow() override { return now; }
    std::int64_t monotonicMilliseconds() override { return monotonicMs; }
    void sleepMilliseconds(int milliseconds) override { monotonicMs += milliseconds; }
    void messageBox(const Text& prompt, MessageIcon icon, const Text& title) override;
    Text inputBox(const Text& prompt, const Text& title) override;

    // --- Services -----------------------------------------------------------------
    void openAddress(const Text& address) override;
    std::optional<Text> specialFolderPath(WindowHandle owner, std::int32_t folderId) override;
    OsVersion queryOsVersion() override;
    void setTopmost(WindowHandle window, bool isTopmost) override;
    std::optional<Text> showFolderDialog(WindowHandle owner, const Text& prompt) override;

private:
    void log(Text what, Text detail = {});
};

// A screen on which every pixel tells where it is: red-green hold x, green-blue y.
std::uint32_t positionPixel(std::int32_t x, std::int32_t y);

}  // namespace skl::test
