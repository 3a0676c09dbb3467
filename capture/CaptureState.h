#pragma once
// The main window's variables shared by its handlers. They live exactly as long as
// the window; nothing of them is kept between runs.

#include <algorithm>
#include <cstdint>
#include <optional>

#include "Text.h"

namespace skl {

// A top-level window's handle; Win32 handles fit 32 bits in 32- and 64-bit processes.
using WindowHandle = std::int32_t;

struct ScreenPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

struct ScreenRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;   // exclusive
    std::int32_t bottom = 0;  // exclusive
    bool operator==(const ScreenRect&) const = default;
};

// The part two rectangles share; nothing when they do not meet.
inline std::optional<ScreenRect> intersection(const ScreenRect& a, const ScreenRect& b) {
    const ScreenRect both{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                          std::min(a.bottom, b.bottom)};
    if (both.left >= both.right || both.top >= both.bottom) return std::nullopt;
    return both;
}

// The family of systems the program runs on, as osTag names it: "NT" on every
// NT-family system; any other tag, none included, stands for the older family.
enum class PlatformFamily { Windows9x, WindowsNT };

inline PlatformFamily platformFamilyOf(const Text& osTag) {
    return osTag == L"NT" ? PlatformFamily::WindowsNT : PlatformFamily::Windows9x;
}

struct CaptureState {
    std::int32_t leftTwips = 0;
    std::int32_t topTwips = 0;
    Text camTitle;
    std::int16_t shotCounter = 0;
    Text counterText;
    std::uint8_t isExpanded = 0;
    Text osTag;
    WindowHandle camHwnd = 0;
    std::int32_t grabLeft = 0;
    std::int32_t grabTop = 0;
    ScreenPoint camPlacement;  // the viewer's restored corner as last read, in pixels
    Text saveFolder;
    Text stampText;
    std::uint8_t isOnTop = 0;

    // A snapshot is under way (it yields to the event loop; a click then is ignored).
    bool snapshotRunning = false;
    // Every number of the 16-bit counter has been used in this run.
    bool numbersUsedUp = false;
    // The user has been told why some windows cannot be found on this desktop.
    bool hiddenWindowsExplained = false;

    bool operator==(const CaptureState&) const = default;
};

}  // namespace skl
