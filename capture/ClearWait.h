#pragma once
// Waiting until the part of the screen that the main window covered shows what
// lies beneath it again, so that a grab there does not catch the window on its
// way out. The area is read again and again and compared with how the window
// looked there before it left.

#include <cstdint>
#include <functional>

#include "capture/Ports.h"

namespace skl {

// Judges successive reads of the area.
class ClearRule {
public:
    // At most this long from the moment the window was told to go.
    static constexpr std::int64_t limitMilliseconds = 500;

    ClearRule(Picture ownPixels, std::int64_t startedMs) : own_(std::move(ownPixels)), started_(startedMs) {}

    // True once the area, read at nowMs, counts as clear: it has stopped changing
    // with at most 1 in 20 of its pixels still as the window drew them (what lies
    // beneath matches a few by chance); or, for content that matches far more, it
    // has had 30 ms to be drawn, has not changed for 25 ms and at most a quarter of
    // it still matches.
    bool isClear(const Picture& area, std::int64_t nowMs);
    bool timedOut(std::int64_t nowMs) const { return nowMs - started_ >= limitMilliseconds; }

private:
    Picture own_;
    std::int64_t started_;
    Picture previous_;
    std::int64_t unchangedSince_ = 0;
};

// Reads the area until the rule finds it clear, the time is up or it cannot be read.
// Where the window system tells when the window has left the screen, the area is
// only judged from then on.
void waitUntilAreaClear(const ScreenRect& area, ClearRule& rule, ScreenGrabber& grabber, Clock& clock,
                        const std::function<bool()>& windowHasLeft = [] { return true; });

}  // namespace skl
