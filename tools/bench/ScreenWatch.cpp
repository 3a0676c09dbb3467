#include "tools/bench/ScreenWatch.h"

#include "window/Form1Definition.h"

namespace skl::bench {
namespace {

bool contains(const ScreenRect& rect, ScreenPoint point) {
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

}  // namespace

void ScreenWatch::pumpFor(double milliseconds) {
    const double until = nowMs() + milliseconds;
    do {
        view_.yieldToEvents();
        clock_.sleepMilliseconds(1);
    } while (nowMs() < until);
}

std::optional<std::uint32_t> ScreenWatch::pixelAt(ScreenPoint at) {
    const auto pixel = grabber_.grab({at.x, at.y, at.x + 1, at.y + 1}).bitmap;
    if (!pixel) return std::nullopt;
    return pixel->picture().at(0, 0);
}

std::optional<ScreenPoint> ScreenWatch::backgroundPoint(const std::optional<ScreenRect>& prefer) {
    const ScreenRect client = desktop_.windowClient();
    const auto shown = grabber_.grab(client).bitmap;
    if (!shown) return std::nullopt;
    std::optional<ScreenPoint> found;
    for (std::int32_t y = 0; y < shown->picture().height; ++y) {
        for (std::int32_t x = 0; x < shown->picture().width; ++x) {
            if (shown->picture().at(x, y) != layout::backgroundColour) continue;
            const ScreenPoint at{client.left + x, client.top + y};
            if (!prefer || contains(*prefer, at)) return at;
            if (!found) found = at;
        }
    }
    return found;
}

std::optional<double> ScreenWatch::waitUntilBack(ScreenPoint probe) {
    const double deadline = nowMs() + 2000;
    while (nowMs() < deadline) {
        view_.yieldToEvents();
        if (desktop_.windowShown() && pixelAt(probe) == layout::backgroundColour) return nowMs();
        clock_.sleepMilliseconds(0);
    }
    return std::nullopt;
}

std::optional<Clearing> ScreenWatch::timeToClear(const ScreenRect& camera, const ViewerClient& client,
                                                 std::uint32_t viewerFrame, ScreenPoint probe) {
    constexpr double settled = 30;
    constexpr double notYet = -1;
    const StepAsideStart observed = aside_.observe();
    const double start = nowMs();
    aside_.leave(Leaving::AtOnce, observed);
    Clearing clearing{notYet, notYet, notYet};
    for (double taken = 0; taken < 1000; taken = nowMs() - start) {
        if (clearing.offScreen == notYet && desktop_.windowOffScreen()) clearing.offScreen = nowMs() - start;
        const auto shown = grabber_.grab(camera).bitmap;
        const double at = nowMs() - start;
        if (shown && differencesFromViewer(shown->picture(), {camera.left, camera.top}, client, viewerFrame) == 0) {
            if (clearing.firstClear == notYet) clearing.firstClear = at;
            if (clearing.clearForGood == notYet) clearing.clearForGood = at;
            if (clearing.offScreen != notYet && at - clearing.clearForGood >= settled) break;
        } else {
            clearing.clearForGood = notYet;
        }
    }
    aside_.comeBack(observed);
    waitUntilBack(probe);
    pumpFor(30);
    if (clearing.clearForGood == notYet || clearing.offScreen == notYet) return std::nullopt;
    return clearing;
}

}  // namespace skl::bench
