#include "ViewerScale.h"

#include <cmath>
#include <cstdint>

namespace skl {
namespace {

std::int64_t widthOf(const ScreenRect& rect) { return std::int64_t{rect.right} - rect.left; }
std::int64_t heightOf(const ScreenRect& rect) { return std::int64_t{rect.bottom} - rect.top; }

bool withinAPixel(double expected, double told) { return std::abs(expected - told) <= 1.0; }

}  // namespace

ViewerFrame viewerFrameOf(const FrameReadings& readings) {
    const ScreenRect& ours = readings.ours;
    const ViewerFrame asWeSeeIt{{ours.left, ours.top}, 1.0};
    if (!readings.own) return asWeSeeIt;
    const ScreenRect& own = *readings.own;
    if (widthOf(own) == widthOf(ours) && heightOf(own) == heightOf(ours)) return asWeSeeIt;

    const ViewerFrame atItsOwnPixels{{own.left, own.top}, 1.0};
    if (widthOf(own) <= 0 || heightOf(own) <= 0 || !readings.mappedCorner || !readings.mappedLastPixel) {
        return atItsOwnPixels;
    }
    const double scale = static_cast<double>(widthOf(ours)) / static_cast<double>(widthOf(own));
    const ScreenPoint& corner = *readings.mappedCorner;
    const ScreenPoint& last = *readings.mappedLastPixel;
    const bool uniform = withinAPixel(static_cast<double>(heightOf(own)) * scale, static_cast<double>(heightOf(ours)));
    const bool mappedAsOurs =
        withinAPixel(ours.left, corner.x) && withinAPixel(ours.top, corner.y) &&
        withinAPixel(ours.left + static_cast<double>(widthOf(own) - 1) * scale, last.x) &&
        withinAPixel(ours.top + static_cast<double>(heightOf(own) - 1) * scale, last.y);
    return uniform && mappedAsOurs ? ViewerFrame{{ours.left, ours.top}, scale} : atItsOwnPixels;
}

}  // namespace skl
