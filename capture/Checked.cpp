#include "Checked.h"

#include <cmath>

namespace skl {

std::optional<std::int32_t> roundToInt32(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    const double below = std::floor(value);
    const double fraction = value - below;
    double rounded = fraction < 0.5 ? below : below + 1.0;
    if (fraction == 0.5 && std::fmod(below, 2.0) == 0.0) rounded = below;
    if (rounded < -2147483648.0 || rounded > 2147483647.0) return std::nullopt;
    return static_cast<std::int32_t>(rounded);
}

double twipsPerPixelAt(int dotsPerInch) {
    if (dotsPerInch <= 0) return 15.0;
    return static_cast<double>(1440.0F / static_cast<float>(dotsPerInch));
}

std::optional<std::int32_t> pixelsToTwips(std::int32_t pixels, double twipsPerPixel) {
    return roundToInt32(static_cast<double>(pixels) * twipsPerPixel);
}

std::optional<std::int32_t> twipsToPixels(std::int32_t twips, double twipsPerPixel) {
    return roundToInt32(static_cast<double>(twips) / twipsPerPixel);
}

}  // namespace skl
