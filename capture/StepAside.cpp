#include "StepAside.h"

#include <limits>

namespace skl {
namespace {

// Without a compositor, an area that has stopped changing counts as drawn at once
// when at most 1 in this many of its pixels are still as the window drew them
// (what lies beneath matches a few by chance).
constexpr std::size_t stillOwnShare = 20;

std::int32_t saturated(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

ScreenRect widened(const ScreenRect& rect, std::int32_t by) {
    return {saturated(std::int64_t{rect.left} - by), saturated(std::int64_t{rect.top} - by),
            saturated(std::int64_t{rect.right} + by), saturated(std::int64_t{rect.bottom} + by)};
}

std::size_t pixelsInCommon(const Picture& a, const Picture& b) {
    if (a.pixels.size() != b.pixels.size()) return 0;
    std::size_t same = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i) same += a.pixels[i] == b.pixels[i];
    return same;
}

}  // namespace

bool SettleRule::isSettled(const Picture& area, std::int64_t nowMs) {
    if (!previous_ || area != *previous_) {
        previous_ = area;
        unchangedSince_ = nowMs;
        return false;
    }
    const std::int64_t unchangedFor = nowMs - unchangedSince_;
    if (composited_) return unchangedFor >= composedSettleMilliseconds;
    // No compositor blends the window into what lies beneath: an area that has
    // stopped changing and no longer looks like the window is drawn.
    const std::size_t stillOwn = pixelsInCommon(area, own_);
    if (stillOwn * stillOwnShare <= area.pixels.size()) return true;
    return unchangedFor >= (stillOwn * 2 > area.pixels.size() ? staleSettleMilliseconds : plainSettleMilliseconds);
}

StepAside::StepAside(StepAsideWindow& window, ScreenGrabber& grabber, Clock& clock, const ScreenRect& grab)
    : window_(window), grabber_(grabber), clock_(clock), start_(window.observe()) {
    // The viewer's own picture holds no other window: nothing of ours can be in it.
    if (grabber_.readsViewersOwnPicture()) return;
    if (!start_.frame) {
        // Where the window is cannot be told: it is taken away at once, and the
        // whole rectangle watched.
        covered_ = grab;
        return;
    }
    composited_ = start_.composited;
    covered_ = intersection(composited_ ? widened(*start_.frame, shadowMargin) : *start_.frame, grab);
    if (covered_ && !composited_) {
        // How the window looks there, to tell when it has gone from the screen.
        if (const auto own = grabber_.grab(*covered_).bitmap) ownPixels_ = own->picture();
    }
}

StepAside::~StepAside() {
    if (left_) comeBack();
}

void StepAside::leave() {
    left_ = covered_ ? Leaving::AtOnce : Leaving::Minimise;
    window_.leave(*left_, start_);
}

template <typename Condition>
bool StepAside::waitFor(std::int64_t milliseconds, Condition condition) {
    const std::int64_t deadline = clock_.monotonicMilliseconds() + milliseconds;
    while (!condition()) {
        if (clock_.monotonicMilliseconds() >= deadline) return false;
        clock_.sleepMilliseconds(1);
    }
    return true;
}

void StepAside::waitUntilClear() {
    if (!covered_ || !left_) return;
    const std::int64_t started = clock_.monotonicMilliseconds();
    if (!waitFor(SettleRule::limitMilliseconds, [this] { return window_.hasLeft(); })) return;
    if (composited_ && window_.awaitComposedFrame()) {
        // The first composed frame may have begun before the window left.
        window_.awaitComposedFrame();
        return;
    }
    SettleRule rule(composited_, std::move(ownPixels_), started);
    for (;;) {
        const auto read = grabber_.grab(*covered_).bitmap;
        if (!read || rule.isSettled(read->picture(), clock_.monotonicMilliseconds())) return;
        if (rule.timedOut(clock_.monotonicMilliseconds())) return;
        clock_.sleepMilliseconds(1);
    }
}

void StepAside::comeBack() {
    // A window manager may carry out the minimise after requests sent later: the
    // window is brought back only once it has gone (or the allowance is up).
    if (*left_ == Leaving::Minimise) waitFor(minimiseAllowanceMilliseconds, [this] { return window_.hasLeft(); });
    const auto back = [this] { return window_.isBack(start_); };
    // Some window managers show a window that was hidden at a place of their own.
    const auto elsewhere = [this] {
        const auto now = start_.frame ? window_.outerFrame() : std::nullopt;
        return now && *now != *start_.frame;
    };
    window_.comeBack(start_);
    if (waitFor(returnAllowanceMilliseconds, [&] { return back() || elsewhere(); }) && back()) return;
    // The window manager dropped the request, undid it or placed the window
    // elsewhere: once more.
    window_.comeBack(start_);
    waitFor(returnAllowanceMilliseconds, back);
}

}  // namespace skl
