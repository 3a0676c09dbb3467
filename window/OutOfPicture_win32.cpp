#include "window/OutOfPicture_win32.h"

namespace skl {

void Win32OutOfPicture::minimise(HWND window, const ScreenRect& keepClear) {
    covered_.reset();
    RECT outer;
    GetWindowRect(window, &outer);
    const RECT grab{keepClear.left, keepClear.top, keepClear.right, keepClear.bottom};
    RECT overlap;
    if (IsWindowVisible(window) && !IsIconic(window) && IntersectRect(&overlap, &outer, &grab)) {
        // How the window looks there, to tell when it has gone from the screen.
        const ScreenRect area{overlap.left, overlap.top, overlap.right, overlap.bottom};
        if (auto own = grabber_.grab(area, DisplayForm::NoDevice)) {
            covered_.emplace(area, ClearRule(own->picture(), clock_.monotonicMilliseconds()));
        }
    }
    ShowWindow(window, SW_MINIMIZE);
    // Hidden before minimising, it would come back as a new minimised window,
    // which the window manager places anew.
    if (covered_) ShowWindow(window, SW_HIDE);
}

void Win32OutOfPicture::waitUntilClear() {
    if (covered_) waitUntilAreaClear(covered_->area, covered_->rule, grabber_, clock_);
    covered_.reset();
}

void Win32OutOfPicture::restore(HWND window) {
    ShowWindow(window, SW_HIDE);
    ShowWindow(window, SW_RESTORE);
}

}  // namespace skl
