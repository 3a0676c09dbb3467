#pragma once
// The window's pictures, each drawn in full by its own function.

#include <span>

#include "capture/Picture.h"

namespace skl::art {

// The lettered buttons in their normal look (index 0 of a pair).
Picture directionsButton();
Picture previewButton();
Picture pickFolderButton();
Picture newCamButton();
Picture onTopButton();
Picture exitButton();

// Index 1 of a pair from index 0: grey lettering, red frame and, for a switch that
// is off, yellow bars across the given rows between the frame's sides.
Picture pressedLook(const Picture& normal, std::span<const int> strikeRows = {});
inline constexpr int previewStrikeRows[] = {10, 11};
inline constexpr int onTopStrikeRows[] = {5, 6, 15, 16};

Picture smileyButton();  // Picture1
Picture idPlate();       // Picture2
Picture linkBanner();    // brellow
Picture splash();        // Image1
Picture windowIcon();    // Form1's icon image, 32 x 32

}  // namespace skl::art
