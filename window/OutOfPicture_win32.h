#pragma once
// Gets the main window out of the picture for a grab and back again. It is
// minimised; where it covers the grab rectangle it is hidden as well, so that it
// leaves the screen at once instead of through the window manager's minimise
// animation, and the grab waits until the screen there shows what lies beneath.
// On the way back it is hidden and then restored, so that the window manager
// shows it anew at its place instead of playing its restore animation.

#include <windows.h>

#include <optional>

#include "capture/ClearWait.h"
#include "capture/desktop_win32.h"

namespace skl {

class Win32OutOfPicture {
public:
    void minimise(HWND window, const ScreenRect& keepClear);
    void waitUntilClear();
    void restore(HWND window);

private:
    Win32ScreenGrabber grabber_;
    Win32Clock clock_;
    // The part of the grab rectangle the window covered, while it is leaving it.
    struct Covered {
        ScreenRect area;
        ClearRule rule;
    };
    std::optional<Covered> covered_;
};

}  // namespace skl
