// Where the picture controls lie at a resolution, which one the pointer is over,
// what the window paints itself and where the preview lies.

#include <gtest/gtest.h>

#include "window/WindowFace.h"

namespace skl::test {
namespace {

TEST(PictureControls, PicturesKeepTheirSizeAtTheirTwipsPlaceAtEveryResolution) {
    const WindowFace at96(15.0);
    EXPECT_EQ(at96.rect(Control::Picture1), (PixelRect{0, 0, 32, 31}));
    EXPECT_EQ(at96.rect(Control::Picture2), (PixelRect{32, 0, 144, 31}));
    EXPECT_EQ(at96.rect(Control::pick0), (PixelRect{181, 4, 61, 22}));
    EXPECT_EQ(at96.rect(Control::newcam1), (PixelRect{245, 4, 61, 22}));
    EXPECT_EQ(at96.rect(Control::xit), (PixelRect{309, 4, 23, 22}));
    EXPECT_EQ(at96.rect(Control::directions0), (PixelRect{245, 32, 61, 22}));
    EXPECT_EQ(at96.rect(Control::brellow), (PixelRect{8, 352, 324, 18}));
    EXPECT_EQ(previewBox({322, 242}, 15.0), (PixelRect{8, 104, 324, 244}));
    EXPECT_EQ(previewBox({162, 122}, 15.0), (PixelRect{8, 104, 164, 124}));

    const WindowFace at120(12.0);  // 2715 / 12 = 226.25, 60 / 12 = 5
    EXPECT_EQ(at120.rect(Control::pick0), (PixelRect{226, 5, 61, 22}));
    EXPECT_EQ(at120.rect(Control::brellow), (PixelRect{10, 440, 324, 18}));
    EXPECT_EQ(previewBox({322, 242}, 12.0), (PixelRect{10, 130, 324, 244}));

    const WindowFace at144(10.0);  // 4635 / 10 = 463.5 goes to the even 464
    EXPECT_EQ(at144.rect(Control::ontop0), (PixelRect{464, 48, 23, 22}));
}

TEST(WindowFace, OnlyTheShownPictureOfAPairIsUnderThePointer) {
    WindowFace face(15.0);
    const PixelPoint onNewCam{250, 10};
    EXPECT_EQ(face.controlAt(onNewCam), Control::newcam0);
    EXPECT_EQ(face.setVisible(Pair::newcam, 0, false), Control::newcam0);
    EXPECT_EQ(face.setVisible(Pair::newcam, 0, false), std::nullopt);
    EXPECT_EQ(face.controlAt(onNewCam), std::nullopt);
    EXPECT_EQ(face.setVisible(Pair::newcam, 1, true), Control::newcam1);
    EXPECT_EQ(face.controlAt(onNewCam), Control::newcam1);
}

TEST(WindowFace, GroundPlateAndPreviewTakeNoPress) {
    const WindowFace face(15.0);
    for (const PixelPoint at : {PixelPoint{40, 10}, PixelPoint{175, 30}, PixelPoint{100, 200}, PixelPoint{3, 40},
                                PixelPoint{178, 15}, PixelPoint{-1, 0}}) {
        EXPECT_EQ(face.controlAt(at), std::nullopt) << at.x << "," << at.y;
    }
    EXPECT_EQ(face.controlAt({31, 30}), Control::Picture1);
    EXPECT_EQ(face.controlAt({32, 30}), std::nullopt);
}

TEST(WindowFace, WindowPaintsTheShownImagesButThePreview) {
    using enum Control;
    WindowFace face(15.0);
    EXPECT_EQ(face.paintedImages(), (std::vector<Control>{brellow, ontop0, xit, prev0, pick0, newcam0}));
    face.setVisible(Pair::pick, 0, false);
    face.setVisible(Pair::pick, 1, true);
    face.setVisible(Pair::ontop, 1, true);
    face.setVisible(Pair::directions, 1, true);  // a picture box, a window of its own
    EXPECT_EQ(face.paintedImages(), (std::vector<Control>{brellow, ontop1, ontop0, xit, prev0, pick1, newcam0}));
}

TEST(WindowFace, PreviewRepaintsTheLargerOfItsOldAndNewBoxes) {
    WindowFace face(15.0);
    EXPECT_EQ(face.previewSize(), (PixelSize{322, 242}));  // the splash
    EXPECT_EQ(face.previewBox(), (PixelRect{8, 104, 324, 244}));
    // A small snapshot: the splash's larger box is repainted, so no splash stays.
    EXPECT_EQ(face.showPreviewOf({162, 122}), (PixelRect{8, 104, 324, 244}));
    EXPECT_EQ(face.previewBox(), (PixelRect{8, 104, 164, 124}));
    EXPECT_EQ(face.showPreviewOf({162, 122}), (PixelRect{8, 104, 164, 124}));
    EXPECT_EQ(face.showPreviewOf({322, 242}), (PixelRect{8, 104, 324, 244}));
    EXPECT_EQ(face.previewSize(), (PixelSize{322, 242}));

    WindowFace at120(12.0);
    EXPECT_EQ(at120.showPreviewOf({162, 122}), (PixelRect{10, 130, 324, 244}));
    EXPECT_EQ(at120.previewBox(), (PixelRect{10, 130, 164, 124}));
}

}  // namespace
}  // namespace skl::test
