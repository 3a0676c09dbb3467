#include "Snapshot.h"

#include <cmath>
#include <cwchar>
#include <optional>

#include "BmpFile.h"
#include "Checked.h"
#include "Picture.h"
#include "StepAside.h"

namespace skl {
namespace {

struct Message {
    Text prompt;
    MessageIcon icon = MessageIcon::Exclamation;
};

const Text outOfRangeMessage =
    L"The webcam window lies so far off the screen that its picture cannot be captured.";

class RunningFlag {
public:
    explicit RunningFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~RunningFlag() { flag_ = false; }
    RunningFlag(const RunningFlag&) = delete;
    RunningFlag& operator=(const RunningFlag&) = delete;

private:
    bool& flag_;
};

bool isUsableId(const Text& caption) {
    return !caption.empty() && caption != texts::askWho && caption != texts::notFound;
}

// Where the camera picture lies on the screen, and the size its file has.
struct Camera {
    ScreenRect rect;
    ScreenPoint size;
};

// How much larger than its own pixels the system draws the viewer: 1 where it
// cannot tell, or tells something no screen does.
double viewerScaleOf(WindowLookup& windows, WindowHandle viewer) {
    const double scale = windows.pixelScale(viewer).value_or(1.0);
    return std::isfinite(scale) && scale >= 1.0 && scale <= 8.0 ? scale : 1.0;
}

// The camera rectangle from the twips corner, or empty when a coordinate overflows.
// A viewer the system draws larger shows its picture larger and further in.
std::optional<Camera> cameraRectangle(CaptureState& state, ScreenMetrics& screen, bool regular, double viewerScale) {
    const auto scaled = [viewerScale](std::int32_t pixels) { return roundToInt32(pixels * viewerScale); };
    const auto left = twipsToPixels(state.leftTwips, screen.twipsPerPixelX());
    const auto top = twipsToPixels(state.topTwips, screen.twipsPerPixelY());
    const auto offsetX = scaled(cameraOffset.x);
    const auto offsetY = scaled(cameraOffset.y);
    if (!left || !top || !offsetX || !offsetY) return std::nullopt;
    const auto grabLeft = checkedAdd(*left, *offsetX);
    const auto grabTop = checkedAdd(*top, *offsetY);
    if (!grabLeft || !grabTop) return std::nullopt;
    state.grabLeft = *grabLeft;
    state.grabTop = *grabTop;
    const ScreenPoint size = regular ? regularSize : smallSize;
    const auto width = scaled(size.x);
    const auto height = scaled(size.y);
    if (!width || !height) return std::nullopt;
    const auto bottom = checkedAdd(state.grabTop, *height);
    const auto right = checkedAdd(state.grabLeft, *width);
    if (!bottom || !right) return std::nullopt;
    return Camera{{state.grabLeft, state.grabTop, *right, *bottom}, size};
}

// Moves the counter on after a save; at the top of its range it stops and the run
// takes no more snapshots, so no number repeats.
void advanceCounter(CaptureState& state) {
    if (state.shotCounter == INT16_MAX) {
        state.numbersUsedUp = true;
    } else {
        ++state.shotCounter;
    }
}

const Text numbersUsedUpMessage =
    L"This run has used every snapshot number up to 32767. Restart the program to take more snapshots.";

struct SaveOutcome {
    enum class Status { Saved, Failed, NumbersUsedUp };
    Status status = Status::Saved;
    Text path;
    Text reason;
};

// Writes the file under the next free number.
SaveOutcome saveSnapshot(CaptureState& state, CapturePorts& ports, const Picture& picture) {
    const std::vector<std::uint8_t> bytes = encodeBmp24(picture);
    for (;;) {
        state.counterText = std::to_wstring(state.shotCounter);
        state.stampText = formatStamp(ports.clock.localNow());
        const Text path = snapshotFileName(state.saveFolder, ports.window.idCaption(), state.stampText, state.shotCounter);
        const WriteResult result = ports.files.writeNewFile(path, bytes);
        switch (result.status) {
            case WriteResult::Status::Written:
                advanceCounter(state);
                return {SaveOutcome::Status::Saved, path, {}};
            case WriteResult::Status::AlreadyExists:
                // A file of an earlier run has this name: take the next number.
                if (state.shotCounter == INT16_MAX) {
                    state.numbersUsedUp = true;
                    return {SaveOutcome::Status::NumbersUsedUp, path, {}};
                }
                ++state.shotCounter;
                continue;
            case WriteResult::Status::Failed:
                return {SaveOutcome::Status::Failed, path, result.reason};
        }
    }
}

std::optional<Message> messageAbout(const SaveOutcome& saved, bool onClipboard) {
    switch (saved.status) {
        case SaveOutcome::Status::Saved:
            if (onClipboard) return std::nullopt;
            return Message{L"The snapshot was saved as\n" + saved.path +
                           L"\nbut it could not be put on the clipboard: another program is holding the clipboard "
                           L"open."};
        case SaveOutcome::Status::Failed:
            return Message{L"The snapshot could not be saved as\n" + saved.path + L"\n\n" + saved.reason +
                           L"\n\nIt is in the preview" + (onClipboard ? L" and on the clipboard." : L".")};
        case SaveOutcome::Status::NumbersUsedUp:
            break;
    }
    return Message{numbersUsedUpMessage};
}

// Another program may hold the clipboard open for a moment: retry for a while.
bool putOnClipboard(GrabbedBitmap& bitmap, CapturePorts& ports) {
    const std::int64_t deadline = ports.clock.monotonicMilliseconds() + clipboardRetryMilliseconds;
    while (!ports.clipboard.tryPutBitmap(bitmap.picture())) {
        if (ports.clock.monotonicMilliseconds() >= deadline) return false;
        ports.clock.sleepMilliseconds(clipboardRetryPauseMilliseconds);
    }
    return true;
}

// What became of the grab: the bitmap and how its saving went, or why there is no
// picture to save.
struct Grabbed {
    std::unique_ptr<GrabbedBitmap> bitmap;
    SaveOutcome saved;
    Text failure;
};

Text sizeText(std::int32_t width, std::int32_t height) {
    return std::to_wstring(width) + L" x " + std::to_wstring(height);
}

// Copies the rectangle and saves it, straight from the grab, so that neither the
// clipboard (which may be busy) nor the preview delays the file. A picture that is
// not the rectangle's size is not the camera's: it is refused, never saved.
Grabbed grabAndSave(CaptureState& state, CapturePorts& ports, const Camera& camera) {
    GrabResult grab = GrabScreenRegion(camera.rect, state.camHwnd, ports);
    if (!grab.bitmap) return {nullptr, {}, std::move(grab.failure)};
    const std::int32_t width = camera.rect.right - camera.rect.left;
    const std::int32_t height = camera.rect.bottom - camera.rect.top;
    const Picture& grabbed = grab.bitmap->picture();
    if (grabbed.width != width || grabbed.height != height) {
        return {nullptr, {},
                L"The window system gave a picture of " + sizeText(grabbed.width, grabbed.height) +
                    L" pixels where " + sizeText(width, height) + L" were asked for."};
    }
    // A picture the system drew larger goes back to the camera's own size.
    if (width != camera.size.x || height != camera.size.y) {
        grab.bitmap = ports.grabber.bitmapOf(scaledPicture(grabbed, camera.size.x, camera.size.y));
        if (!grab.bitmap) return {nullptr, {}, L"There was no memory left for the picture."};
    }
    SaveOutcome saved = saveSnapshot(state, ports, grab.bitmap->picture());
    return {std::move(grab.bitmap), std::move(saved), {}};
}

// From the grab to the window's return. Where the window is clear of the rectangle
// the grab comes first and the window leaves afterwards; where it covers it, the
// window leaves first and the grab waits until the screen there is drawn without it.
std::optional<Message> stepAsideGrabAndSave(CaptureState& state, CapturePorts& ports, const Camera& camera) {
    StepAside aside(ports.aside, ports.grabber, ports.clock, camera.rect);
    Grabbed grabbed;
    if (aside.grabFirst()) grabbed = grabAndSave(state, ports, camera);
    aside.leave();
    ports.window.yieldToEvents();
    if (!aside.grabFirst()) {
        aside.waitUntilClear();
        grabbed = grabAndSave(state, ports, camera);
    }
    if (!grabbed.bitmap) {
        Text prompt = L"The screen could not be copied, so no snapshot was saved.";
        if (!grabbed.failure.empty()) prompt += L"\n\n" + grabbed.failure;
        return Message{prompt};
    }
    const bool onClipboard = putOnClipboard(*grabbed.bitmap, ports);
    ports.window.showPreview(std::move(grabbed.bitmap));
    return messageAbout(grabbed.saved, onClipboard);
}

// A desktop that hides some windows from programs may hide the viewer: the first
// time a viewer is not found there, the user learns why and what would help.
void explainHiddenWindowsOnce(CaptureState& state, CapturePorts& ports) {
    if (state.hiddenWindowsExplained) return;
    const Text advice = ports.windows.hiddenWindowsAdvice();
    if (advice.empty()) return;
    state.hiddenWindowsExplained = true;
    ports.dialogs.messageBox(advice, MessageIcon::Exclamation, productTitle);
}

}  // namespace

Text formatStamp(const LocalTime& t) {
    wchar_t buffer[32];
    std::swprintf(buffer, std::size(buffer), L"%02d-%02d-%04d %02d-%02d-%02d", t.month, t.day, t.year, t.hour,
                  t.minute, t.second);
    return buffer;
}

Text snapshotFileName(const Text& saveFolder, const Text& id, const Text& stamp, std::int16_t counter) {
    return saveFolder + id + L"-" + stamp + L" " + std::to_wstring(counter) + L".bmp";
}

PlacementResult ReadCamPlacement(CaptureState& state, WindowLookup& windows, ScreenMetrics& screen) {
    const std::optional<ScreenPoint> corner = windows.restoredCorner(state.camHwnd);
    if (!corner) return PlacementResult::WindowGone;
    state.camPlacement = *corner;
    const auto left = pixelsToTwips(corner->x, screen.twipsPerPixelX());
    if (!left) return PlacementResult::OutOfRange;
    state.leftTwips = *left;
    const auto top = pixelsToTwips(corner->y, screen.twipsPerPixelY());
    if (!top) return PlacementResult::OutOfRange;
    state.topTwips = *top;
    return PlacementResult::Read;
}

GrabResult GrabScreenRegion(const ScreenRect& rect, WindowHandle viewer, CapturePorts& ports) {
    const auto width = checkedSub(rect.right, rect.left);
    const auto height = checkedSub(rect.bottom, rect.top);
    if (!width || !height || *width <= 0 || *height <= 0) return {nullptr, L"The rectangle to copy is empty."};
    return ports.grabber.grabViewer(viewer, rect);
}

void takeSnapshot(CaptureState& state, CapturePorts& ports) {
    if (state.snapshotRunning) return;  // a click during the snapshot's own yield
    const RunningFlag running(state.snapshotRunning);

    if (!isUsableId(ports.window.idCaption())) {
        ports.dialogs.messageBox(texts::noIdMessage, MessageIcon::Question, productTitle);
        ports.window.setIdCaption(texts::askWho);
        return;
    }
    if (state.numbersUsedUp) {
        ports.dialogs.messageBox(numbersUsedUpMessage, MessageIcon::Exclamation, productTitle);
        return;
    }

    state.camHwnd = ports.windows.findWindow(state.camTitle);
    const PlacementResult placement =
        state.camHwnd == 0 ? PlacementResult::WindowGone : ReadCamPlacement(state, ports.windows, ports.screen);
    if (placement == PlacementResult::WindowGone) {
        state.camHwnd = 0;
        ports.window.setIdCaption(texts::notFound);
        explainHiddenWindowsOnce(state, ports);
        return;
    }
    // The rectangle is known before the window goes, so that the window knows which
    // part of the screen it must clear, and an impossible one is refused up front.
    const auto camera = placement == PlacementResult::Read
                            ? cameraRectangle(state, ports.screen, ports.window.regularSizeSelected(),
                                              viewerScaleOf(ports.windows, state.camHwnd))
                            : std::nullopt;
    if (!camera) {
        ports.dialogs.messageBox(outOfRangeMessage, MessageIcon::Exclamation, productTitle);
        return;
    }

    // The window is back before any message shows.
    const std::optional<Message> message = stepAsideGrabAndSave(state, ports, *camera);
    if (message) ports.dialogs.messageBox(message->prompt, message->icon, productTitle);
}

}  // namespace skl
