#include "ClearWait.h"

namespace skl {
namespace {

constexpr std::size_t settledShare = 20;
constexpr std::size_t chanceShare = 4;
constexpr std::int64_t redrawAllowanceMs = 30;
constexpr std::int64_t unchangedLengthMs = 25;

}  // namespace

bool ClearRule::isClear(const Picture& area, std::int64_t nowMs) {
    const bool changed = area != previous_;
    if (changed) {
        previous_ = area;
        unchangedSince_ = nowMs;
    }
    std::size_t stillOwn = 0;
    if (area.pixels.size() == own_.pixels.size()) {
        for (std::size_t i = 0; i < area.pixels.size(); ++i) stillOwn += area.pixels[i] == own_.pixels[i];
    }
    const std::size_t pixels = area.pixels.size();
    if (!changed && stillOwn * settledShare <= pixels) return true;
    return nowMs - started_ >= redrawAllowanceMs && nowMs - unchangedSince_ >= unchangedLengthMs &&
           stillOwn * chanceShare <= pixels;
}

void waitUntilAreaClear(const ScreenRect& area, ClearRule& rule, ScreenGrabber& grabber, Clock& clock,
                        const std::function<bool()>& windowHasLeft) {
    bool left = false;
    while (!rule.timedOut(clock.monotonicMilliseconds())) {
        left = left || windowHasLeft();
        if (left) {
            const auto read = grabber.grab(area, DisplayForm::NoDevice);
            if (!read || rule.isClear(read->picture(), clock.monotonicMilliseconds())) return;
        }
        clock.sleepMilliseconds(1);
    }
}

}  // namespace skl
