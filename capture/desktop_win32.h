#pragma once
// The Win32 implementations of the capture's platform interfaces.

#include <windows.h>

#include "capture/Ports.h"
#include "capture/handles_win32.h"

namespace skl {

class Win32WindowLookup final : public WindowLookup {
public:
    WindowHandle findWindow(const Text& title) override;
    bool readPlacement(WindowHandle window, WindowPlacement& placement) override;
    // The screen's resolution against the window's own, where the system tells the
    // latter (Windows 10 from 1607 on; looked up when the program starts).
    std::optional<double> pixelScale(WindowHandle window) override;

private:
    using DpiForWindow = UINT(WINAPI*)(HWND);
    DpiForWindow dpiForWindow_ = dpiForWindowLookup();
    static DpiForWindow dpiForWindowLookup();
};

// Twips per pixel from the screen's logical resolution, read afresh on every call.
class Win32ScreenMetrics final : public ScreenMetrics {
public:
    double twipsPerPixelX() override;
    double twipsPerPixelY() override;
};

class Win32ScreenGrabber final : public ScreenGrabber {
public:
    std::unique_ptr<GrabbedBitmap> grab(const ScreenRect& rect, DisplayForm form) override;
    std::unique_ptr<GrabbedBitmap> bitmapOf(Picture picture) override;
};

// Opens the clipboard on behalf of the owner window, so that no other program can
// change it between emptying and placing the bitmap.
class Win32Clipboard final : public Clipboard {
public:
    explicit Win32Clipboard(HWND owner) : owner_(owner) {}
    bool tryPutBitmap(GrabbedBitmap& bitmap) override;

private:
    HWND owner_;
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

// A bitmap holding the picture, for showing it.
GdiBitmap bitmapFromPicture(const Picture& picture);

}  // namespace skl
