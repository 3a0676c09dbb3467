#pragma once
// The desktop as the capture sees it: small interfaces that the platform implements
// (Win32 in the product, a scripted fake in the unit tests). The main window's
// stepping aside has its port beside its rule, in StepAside.h.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <utility>

#include "CaptureState.h"
#include "Picture.h"
#include "Text.h"

namespace skl {

class StepAsideWindow;

class WindowLookup {
public:
    virtual ~WindowLookup() = default;
    // The top-level window with exactly this title, 0 when there is none.
    virtual WindowHandle findWindow(const Text& title) = 0;
    // The top-left corner, in screen pixels, of the frame the window has when it is
    // neither minimised nor maximised; nothing when the window is gone.
    virtual std::optional<ScreenPoint> restoredCorner(WindowHandle window) = 0;
    // How many of the screen's pixels one of the window's own pixels takes, where
    // the system draws a window that does not know the screen's resolution larger;
    // nothing where the system cannot tell.
    virtual std::optional<double> pixelScale(WindowHandle window) = 0;
    // What the user needs to know when a window is not found because the desktop
    // keeps some programs' windows from other programs: which windows this program
    // can see, and what would help. Empty where every window can be found.
    virtual Text hiddenWindowsAdvice() = 0;
};

class ScreenMetrics {
public:
    virtual ~ScreenMetrics() = default;
    virtual double twipsPerPixelX() = 0;
    virtual double twipsPerPixelY() = 0;
};

// A picture copied from the screen, as the grabber holds it.
class GrabbedBitmap {
public:
    virtual ~GrabbedBitmap() = default;
    virtual const Picture& picture() const = 0;
};

// A grabbed bitmap that holds nothing of the window system's: just the picture,
// which the clipboard and the preview copy from.
class HeldPicture final : public GrabbedBitmap {
public:
    explicit HeldPicture(Picture picture) : picture_(std::move(picture)) {}
    const Picture& picture() const override { return picture_; }

private:
    Picture picture_;
};

// What a grab gives: the bitmap, or nothing and why, in plain words for the user.
struct GrabResult {
    std::unique_ptr<GrabbedBitmap> bitmap;
    Text failure;
};

class ScreenGrabber {
public:
    virtual ~ScreenGrabber() = default;
    // Copies the rectangle of the screen unchanged.
    virtual GrabResult grab(const ScreenRect& rect) = 0;
    // The camera's picture: the rectangle, in screen pixels, as the window `viewer`
    // shows it there. Where the window system lets the screen be read, that is the
    // screen; a grabber that reads the viewer's own picture copies that instead,
    // whole even where other windows cover it.
    virtual GrabResult grabViewer(WindowHandle viewer, const ScreenRect& rect) = 0;
    // Whether grabViewer reads the viewer's own picture, in which no other window,
    // the program's own included, can be.
    virtual bool readsViewersOwnPicture() const = 0;
    // A bitmap of the program's own holding the picture, as a grab would; empty
    // when the platform calls fail.
    virtual std::unique_ptr<GrabbedBitmap> bitmapOf(Picture picture) = 0;
};

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Replaces the clipboard's content with a bitmap of the picture, in the bitmap
    // format. False while another program holds the clipboard.
    virtual bool tryPutBitmap(const Picture& picture) = 0;
};

struct WriteResult {
    enum class Status { Written, AlreadyExists, Failed };
    Status status = Status::Written;
    Text reason;  // for Failed: why, in plain words
};

class FileStore {
public:
    virtual ~FileStore() = default;
    // Creates the file with these bytes, whole or not at all; never replaces a file.
    virtual WriteResult writeNewFile(const Text& path, std::span<const std::uint8_t> bytes) = 0;
};

// A moment on the local clock.
struct LocalTime {
    int year = 0;
    int month = 0;  // 1-12
    int day = 0;    // 1-31
    int hour = 0;   // 0-23
    int minute = 0;
    int second = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime localNow() = 0;
    virtual std::int64_t monotonicMilliseconds() = 0;
    virtual void sleepMilliseconds(int milliseconds) = 0;
};

enum class MessageIcon { None, Question, Exclamation };

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A modal message box with only an OK button.
    virtual void messageBox(const Text& prompt, MessageIcon icon, const Text& title) = 0;
    // A modal input box; the typed text on OK, an empty text on Cancel.
    virtual Text inputBox(const Text& prompt, const Text& title) = 0;
};

// What the snapshot needs of the main window.
class CaptureWindow {
public:
    virtual ~CaptureWindow() = default;
    virtual Text idCaption() = 0;
    virtual void setIdCaption(const Text& caption) = 0;
    virtual bool regularSizeSelected() = 0;
    // Processes the pending events once.
    virtual void yieldToEvents() = 0;
    // Shows the snapshot in the preview, which keeps it and draws its picture.
    virtual void showPreview(std::unique_ptr<const GrabbedBitmap> snapshot) = 0;
};

struct CapturePorts {
    CaptureWindow& window;
    StepAsideWindow& aside;
    WindowLookup& windows;
    ScreenMetrics& screen;
    ScreenGrabber& grabber;
    Clipboard& clipboard;
    FileStore& files;
    Clock& clock;
    Dialogs& dialogs;
};

}  // namespace skl
