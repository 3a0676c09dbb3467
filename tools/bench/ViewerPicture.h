#pragma once
// What the sample viewer shows, to check grabbed and saved pictures against: its
// test picture, a fixed function of the client position and the frame number.

#include <cstdint>
#include <optional>

#include "capture/Ports.h"

namespace skl::bench {

// The viewer's client area on the screen.
struct ViewerClient {
    ScreenPoint origin;
    ScreenPoint size;
};

// How many pixels of the picture, taken with its corner at `corner` on the screen,
// differ from the viewer's test picture of that frame; the text band is skipped.
std::size_t differencesFromViewer(const Picture& picture, ScreenPoint corner, const ViewerClient& client,
                                  std::uint32_t frame);

// The frame number the viewer shows on the screen now, read from its frame cells;
// nothing while they are covered or half drawn.
std::optional<std::uint32_t> frameOnScreen(ScreenGrabber& grabber, const ViewerClient& client);

// The picture in a saved file; nothing when it cannot be read or is no 24-bit BMP.
std::optional<Picture> readPictureFile(const Text& path);

}  // namespace skl::bench
