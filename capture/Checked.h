#pragma once
// Arithmetic that reports overflow instead of wrapping, and the conversion between
// screen pixels and twips (1/1440 of a logical inch).

#include <cstdint>
#include <optional>

namespace skl {

// The value when it fits a 32-bit signed integer.
inline std::optional<std::int32_t> narrowToInt32(std::int64_t value) {
    if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

inline std::optional<std::int32_t> checkedAdd(std::int32_t a, std::int32_t b) {
    return narrowToInt32(std::int64_t{a} + b);
}

inline std::optional<std::int32_t> checkedSub(std::int32_t a, std::int32_t b) {
    return narrowToInt32(std::int64_t{a} - b);
}

// Rounds to the nearest integer, halves to the even neighbour; empty when the value
// is not finite or does not fit a 32-bit signed integer.
std::optional<std::int32_t> roundToInt32(double value);

// The screen's twips per pixel at its logical resolution: a single-precision value,
// as the screen reports it, widened for the arithmetic done with it. A screen that
// reports no resolution counts as the standard 96 dots per inch.
double twipsPerPixelAt(int dotsPerInch);

// pixels x twipsPerPixel, rounded; empty on a non-finite or out-of-range result.
std::optional<std::int32_t> pixelsToTwips(std::int32_t pixels, double twipsPerPixel);

// twips / twipsPerPixel, rounded; empty on a non-finite or out-of-range result
// (a factor of 0 included).
std::optional<std::int32_t> twipsToPixels(std::int32_t twips, double twipsPerPixel);

}  // namespace skl
