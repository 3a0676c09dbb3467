#include "AssetArt.h"

#include "IcoFile.h"
#include "Pictures.h"
#include "capture/BmpFile.h"

namespace skl::art {

std::vector<Asset> makeAssets() {
    const Picture directions = directionsButton();
    const Picture preview = previewButton();
    const Picture pick = pickFolderButton();
    const Picture newCam = newCamButton();
    const Picture onTop = onTopButton();
    const auto bmp = [](const Picture& picture) { return encodeBmp24(picture); };
    return {
        {"directions0.bmp", bmp(directions)},
        {"directions1.bmp", bmp(pressedLook(directions))},
        {"Picture2.bmp", bmp(idPlate())},
        {"Picture1.bmp", encodeBmp24(smileyButton(), 0)},  // the smiley alone carries no resolution
        {"brellow.bmp", bmp(linkBanner())},
        {"ontop0.bmp", bmp(onTop)},
        {"ontop1.bmp", bmp(pressedLook(onTop, onTopStrikeRows))},
        {"xit.bmp", bmp(exitButton())},
        {"prev0.bmp", bmp(preview)},
        {"prev1.bmp", bmp(pressedLook(preview, previewStrikeRows))},
        {"pick0.bmp", bmp(pick)},
        {"pick1.bmp", bmp(pressedLook(pick))},
        {"newcam0.bmp", bmp(newCam)},
        {"newcam1.bmp", bmp(pressedLook(newCam))},
        {"Image1.bmp", bmp(splash())},
        {"Form1.ico", encodeIco24(windowIcon())},
    };
}

}  // namespace skl::art
