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

// The window icon at another size, for desktops that show icons large or small:
// each pixel the mean of the part of the 32 x 32 image it covers.
Picture windowIconAt(int size);
inline constexpr int desktopIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

}  // namespace skl::art
