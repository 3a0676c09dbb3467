#pragma once
// Looks at the program's real window on the screen for the benchmark, and keeps
// the window's events flowing meanwhile.

#include <cstdint>
#include <optional>

#include "capture/StepAside.h"
#include "tools/bench/SnapshotBench.h"
#include "tools/bench/Stopwatch.h"

namespace skl::bench {

// The window system's own times to clear the camera rectangle after the window
// leaves it at once, in milliseconds from the start of the leave.
struct Clearing {
    double firstClear;    // the rectangle first shows exactly what the viewer paints
    double clearForGood;  // ... and does from then on
    double offScreen;     // the window has left the screen, frame and all
};

class ScreenWatch {
public:
    ScreenWatch(BenchDesktop& desktop, Form1View& view, StepAsideWindow& aside, ScreenGrabber& grabber, Clock& clock)
        : desktop_(desktop), view_(view), aside_(aside), grabber_(grabber), clock_(clock) {}

    void pumpFor(double milliseconds);

    // Pumps events until the condition holds; false after the time is up.
    template <typename Condition>
    bool pumpUntil(Condition condition, double milliseconds) {
        const double deadline = nowMs() + milliseconds;
        while (!condition()) {
            if (nowMs() >= deadline) return false;
            view_.yieldToEvents();
            clock_.sleepMilliseconds(1);
        }
        return true;
    }

    std::optional<std::uint32_t> pixelAt(ScreenPoint at);

    // A screen point where the window shows its background colour, inside `prefer`
    // when it can: while the window is back on the screen this pixel shows that colour.
    std::optional<ScreenPoint> backgroundPoint(const std::optional<ScreenRect>& prefer);

    // Pumps events until the window is back on the screen; the time it was seen
    // back, or nothing after two seconds.
    std::optional<double> waitUntilBack(ScreenPoint probe);

    // The window leaves the camera rectangle as a snapshot makes it leave, and the
    // rectangle is read until it shows exactly what the viewer paints there, has
    // done so for a while and the window has left the screen; then the window comes
    // back. Nothing when the rectangle is not clear within a second.
    std::optional<Clearing> timeToClear(const ScreenRect& camera, const ViewerClient& client, std::uint32_t frame,
                                        ScreenPoint probe);

private:
    BenchDesktop& desktop_;
    Form1View& view_;
    StepAsideWindow& aside_;
    ScreenGrabber& grabber_;
    Clock& clock_;
};

}  // namespace skl::bench
