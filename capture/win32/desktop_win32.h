#pragma once
// The Win32 implementations of the capture's platform interfaces.

#include <windows.h>

#include <optional>

#include "capture/Ports.h"
#include "capture/StepAside.h"
#include "capture/ViewerScale.h"
#include "capture/win32/system_win32.h"

namespace skl {

// The screen's logical resolution along the axis (LOGPIXELSX or LOGPIXELSY) in dots
// per inch; 0 when it cannot be read.
int screenDotsPerInch(int axis);

// Twips per pixel from the screen's logical resolution, read afresh on every call.
class Win32ScreenMetrics final : public ScreenMetrics {
public:
    double twipsPerPixelX() override;
    double twipsPerPixelY() override;
};

// Windows gives a top-level window's restored rectangle in workspace coordinates:
// relative to the work area of its monitor (the screen less the taskbar and other
// docked bars), not to the screen; with a bar at the top or the left the two differ
// by its thickness. This is the rectangle in screen coordinates, for a monitor whose
// whole area and work area are given in screen coordinates.
ScreenRect workspaceToScreen(const ScreenRect& rect, const ScreenRect& monitor, const ScreenRect& workArea);

// The system's calls for windows of another resolution than the caller's, where
// this Windows has them (looked up when the program starts): reading a window in
// its own coordinates (Windows 10 from 1607 on) and mapping its points to the
// screen's (Windows 8.1 on).
struct WindowResolutionCalls {
    using WindowContext = DPI_AWARENESS_CONTEXT(WINAPI*)(HWND);
    using SetThreadContext = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);
    using MapPoint = BOOL(WINAPI*)(HWND, POINT*);
    WindowContext windowContext;
    SetThreadContext setThreadContext;
    MapPoint logicalToPhysical;
    static WindowResolutionCalls ofThisSystem();
};

class Win32WindowLookup final : public WindowLookup {
public:
    WindowHandle findWindow(const Text& title) override;
    // From the window's placement record, on the screen: in the window's own
    // coordinates where the system does not stretch it (ours and its own are then
    // the same, or the system only says they differ), in ours where it does.
    std::optional<ScreenPoint> restoredCorner(WindowHandle window) override;
    // The stretch the system's answers agree on; nothing where it cannot tell.
    std::optional<double> pixelScale(WindowHandle window) override;
    // Every top-level window can be found.
    Text hiddenWindowsAdvice() override { return {}; }

private:
    std::optional<ViewerFrame> viewerFrame(HWND window) const;
    WindowResolutionCalls calls_ = WindowResolutionCalls::ofThisSystem();
};

// The header of a 32-bit device-independent bitmap whose rows run from the top:
// the layout of a Picture's pixels (0x00RRGGBB).
BITMAPINFO topDown32(std::int32_t width, std::int32_t height);

// Copies the screen through a display device context, opened in the form the
// system family takes: NT-family systems name no device, the older ones device "0".
class Win32ScreenGrabber final : public ScreenGrabber {
public:
    explicit Win32ScreenGrabber(PlatformFamily family) : family_(family) {}
    GrabResult grab(const ScreenRect& rect) override;
    GrabResult grabViewer(WindowHandle, const ScreenRect& rect) override { return grab(rect); }
    bool readsViewersOwnPicture() const override { return false; }
    std::unique_ptr<GrabbedBitmap> bitmapOf(Picture picture) override;

private:
    PlatformFamily family_;
};

// Creates the file only where none exists, and removes it again if writing fails.
class Win32FileStore final : public FileStore {
public:
    WriteResult writeNewFile(const Text& path, std::span<const std::uint8_t> bytes) override;
};

// Milliseconds in `counts` ticks of a counter running at `perSecond` ticks a second,
// for any count the counter can reach.
std::int64_t countsToMilliseconds(std::int64_t counts, std::int64_t perSecond);

class Win32Clock final : public Clock {
public:
    LocalTime localNow() override;
    std::int64_t monotonicMilliseconds() override;
    void sleepMilliseconds(int milliseconds) override;
};

// The clipboard of the Windows edition: the picture goes on it as a bitmap in the
// bitmap format (CF_BITMAP), which the clipboard owns from then on.

// Opens the clipboard on behalf of the owner window, so that no other program can
// change it between emptying and placing the bitmap.
class Win32Clipboard final : public Clipboard {
public:
    explicit Win32Clipboard(HWND owner) : owner_(owner) {}
    bool tryPutBitmap(const Picture& picture) override;

private:
    HWND owner_;
};

// The main window getting out of the picture and back on Windows. Minimised
// where it is clear of the grab; over the grab hidden as well, so that it leaves
// the screen at once. Where the desktop is composed (Vista on), the window is
// never animated on its way out or back, and the wait is for the compositor's
// next frames; dwmapi.dll is looked up at run time, so the program still starts
// where there is none (XP).

// The desktop compositor's calls, where the system has them.
class DesktopComposition {
public:
    DesktopComposition();
    // Whether the compositor draws the desktop now (the user may turn it off on Vista and 7).
    bool enabled() const;
    // Waits for the compositor's next frame; false where there is no compositor.
    bool flush() const;
    // The window is minimised and restored without the compositor's animation.
    void disableTransitions(HWND window) const;

private:
    using IsEnabledFunction = HRESULT(WINAPI*)(BOOL*);
    using FlushFunction = HRESULT(WINAPI*)();
    using SetAttributeFunction = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);

    LoadedLibrary library_;
    IsEnabledFunction isEnabled_ = nullptr;
    FlushFunction flush_ = nullptr;
    SetAttributeFunction setAttribute_ = nullptr;
};

class Win32StepAsideWindow final : public StepAsideWindow {
public:
    // The main window, once it exists.
    void setWindow(HWND window);

    // The system keeps a topmost window topmost while it is minimised or hidden, so
    // coming back asks for nothing of the kind.
    StepAsideStart observe() override;
    std::optional<ScreenRect> outerFrame() override;
    void leave(Leaving how, const StepAsideStart& start) override;
    bool hasLeft() override;
    bool awaitComposedFrame() override { return composition_.flush(); }
    void comeBack(const StepAsideStart& start) override;
    bool isBack(const StepAsideStart& start) override;

private:
    HWND window_ = nullptr;
    DesktopComposition composition_;
    // Wine hands minimising to the X window manager, which carries it out some
    // time after the call returns.
    bool minimisedLater_ = false;
};

}  // namespace skl
