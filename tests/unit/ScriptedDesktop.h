#pragma once
// A scriptable desktop for the capture's tests: one object plays every port the
// capture talks to (the screen and its window manager, the viewer windows, the
// clipboard, the disk, the clock, the message boxes and the capture's part of the
// main window) and writes what it was asked to do into the call log, so a test can
// check both the outcome and the order of the calls.

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "CallLog.h"
#include "capture/Ports.h"
#include "capture/Snapshot.h"
#include "capture/StepAside.h"

namespace skl::test {

struct ShownMessage {
    Text prompt;
    MessageIcon icon = MessageIcon::None;
    Text title;
};

class ScriptedDesktop final : public CallLog,
                              public CaptureWindow,
                              public StepAsideWindow,
                              public WindowLookup,
                              public ScreenMetrics,
                              public ScreenGrabber,
                              public Clipboard,
                              public FileStore,
                              public Clock,
                              public Dialogs {
public:
    ScriptedDesktop();

    CapturePorts capturePorts();

    // --- Script -------------------------------------------------------------------
    // A viewer window with this title whose restored frame starts at the corner.
    WindowHandle openViewer(const Text& title, ScreenPoint corner);
    // The window is still found by title but gone when its placement is queried.
    void closeBeforePlacement(WindowHandle window) { restoredCorners.erase(window); }

    std::map<Text, WindowHandle> windowsByTitle;
    std::map<WindowHandle, ScreenPoint> restoredCorners;
    std::map<WindowHandle, double> pixelScales;  // windows the system draws larger
    Text hiddenAdvice;                           // a desktop that hides some windows
    double twipsX = 15.0;
    double twipsY = 15.0;
    std::function<std::uint32_t(std::int32_t x, std::int32_t y)> screenPixel;
    bool grabFails = false;                        // grabs give nothing, with this reason
    Text grabFailure;
    std::optional<ScreenPoint> grabbedSize;        // grabs give pictures of this size instead
    bool readsViewersPicture = false;              // the viewer's own picture, never ours
    int clipboardBusyTries = 0;  // tryPutBitmap fails this many times first
    // Results of the next writes, in order; once used up every write behaves like a
    // real disk that refuses existing names.
    std::deque<WriteResult> scriptedWrites;
    LocalTime now{2005, 12, 14, 21, 5, 7};
    std::deque<Text> inputAnswers;  // an exhausted queue answers as Cancel

    // The main window on the screen: its outer frame (nothing: it cannot be told),
    // drawn in ownColour, and how the window system takes it away and brings it back.
    static constexpr std::uint32_t ownColour = 0x8080FF;
    std::optional<ScreenRect> ownFrame = ScreenRect{1000, 600, 1341, 1000};
    bool ownWindowDrawn = true;  // false: mapped but not painted yet, the screen shows what lies beneath
    bool compositing = false;
    std::int32_t shadowWidth = 0;       // drawn around the frame while it shows, under a compositor
    bool offersComposedFrames = false;  // the window system has a wait for the next composed frame
    std::int64_t leaveTakesMs = 0;      // until the window system says the window has left
    // Until the screen shows nothing of the window any more, counted from the leave;
    // in between the window fades, one changed frame every fadeFrameMs.
    std::int64_t screenClearsMs = 0;
    std::int64_t fadeFrameMs = 15;
    bool minimiseIgnored = false;       // a window manager that cannot minimise
    int comeBacksDropped = 0;           // requests to come back that the window manager drops
    std::optional<ScreenRect> misplacedOnReturn;  // where the window manager first puts it back
    // On Top: the window stays above the others, a state that withdrawing it loses.
    bool ownAbove = false;
    int aboveRequestsDropped = 0;  // returns on which the window manager leaves it below

    // --- What happened ------------------------------------------------------------
    std::vector<ShownMessage> messages;
    std::map<Text, std::vector<std::uint8_t>> files;
    std::optional<Picture> clipboardPicture;
    std::optional<Picture> previewPicture;
    std::int64_t monotonicMs = 0;
    Text idLabel = texts::askWho;
    bool regularSize = true;
    bool minimised = false;  // between the leave and the return
    std::optional<Leaving> leftAs;
    std::int64_t leftAt = 0;
    std::optional<std::int64_t> backAt;

    // --- CaptureWindow ------------------------------------------------------------
    Text idCaption() override { return idLabel; }
    void setIdCaption(const Text& caption) override;
    bool regularSizeSelected() override { return regularSize; }
    void yieldToEvents() override { log(L"yieldToEvents"); }
    void showPreview(std::unique_ptr<const GrabbedBitmap> snapshot) override;

    // --- StepAsideWindow ----------------------------------------------------------
    StepAsideStart observe() override { return {outerFrame(), compositing, ownAbove}; }
    std::optional<ScreenRect> outerFrame() override;
    void leave(Leaving how, const StepAsideStart& start) override;
    bool hasLeft() override;
    bool awaitComposedFrame() override;
    void comeBack(const StepAsideStart& start) override;
    bool isBack(const StepAsideStart& start) override;
    // What the screen shows at a pixel now, the main window and its shadow included.
    std::uint32_t shownPixel(std::int32_t x, std::int32_t y) const;

    // --- The other capture ports --------------------------------------------------
    WindowHandle findWindow(const Text& title) override;
    std::optional<ScreenPoint> restoredCorner(WindowHandle window) override;
    std::optional<double> pixelScale(WindowHandle window) override;
    Text hiddenWindowsAdvice() override { return hiddenAdvice; }
    std::unique_ptr<GrabbedBitmap> bitmapOf(Picture picture) override;
    double twipsPerPixelX() override { return twipsX; }
    double twipsPerPixelY() override { return twipsY; }
    GrabResult grab(const ScreenRect& rect) override;
    GrabResult grabViewer(WindowHandle viewer, const ScreenRect& rect) override;
    bool readsViewersOwnPicture() const override { return readsViewersPicture; }
    bool tryPutBitmap(const Picture& picture) override;
    WriteResult writeNewFile(const Text& path, std::span<const std::uint8_t> bytes) override;
    LocalTime localNow() override { return now; }
    std::int64_t monotonicMilliseconds() override { return monotonicMs; }
    void sleepMilliseconds(int milliseconds) override { monotonicMs += milliseconds; }
    void messageBox(const Text& prompt, MessageIcon icon, const Text& title) override;
    Text inputBox(const Text& prompt, const Text& title) override;
};

// A screen on which every pixel tells where it is: red-green hold x, green-blue y.
std::uint32_t positionPixel(std::int32_t x, std::int32_t y);

}  // namespace skl::test
