// A window's own picture as a compositor sends it: the pixel layouts it may use,
// rows padded to a stride, a picture at twice the screen's pixels, and where the
// camera lies in it given the client area's offset in the frame.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "capture/WindowImage.h"

namespace skl {
namespace {

// The colour the test picture has at (x, y): every pixel differs from its neighbours.
std::uint32_t colourAt(std::int64_t x, std::int64_t y) {
    return static_cast<std::uint32_t>(((x * 7) & 0xFF) << 16 | ((y * 13) & 0xFF) << 8 | ((x + y) & 0xFF));
}

// A width x height picture in the layout, each row padded to the stride with 0xEE.
std::vector<std::uint8_t> rawPicture(RawPixelLayout layout, std::int64_t width, std::int64_t height,
                                     std::int64_t stride, std::uint8_t alpha = 0xFF) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(stride * height), 0xEE);
    for (std::int64_t y = 0; y < height; ++y) {
        for (std::int64_t x = 0; x < width; ++x) {
            const std::uint32_t c = colourAt(x, y);
            const auto r = static_cast<std::uint8_t>(c >> 16), g = static_cast<std::uint8_t>(c >> 8),
                       b = static_cast<std::uint8_t>(c);
            std::uint8_t* p = bytes.data() + y * stride;
            switch (layout) {
                case RawPixelLayout::RGB32:
                case RawPixelLayout::ARGB32:
                case RawPixelLayout::ARGB32Premultiplied: {
                    const std::uint32_t word = std::uint32_t{alpha} << 24 | c;
                    std::memcpy(p + x * 4, &word, 4);
                    break;
                }
                case RawPixelLayout::RGBX8888:
                case RawPixelLayout::RGBA8888:
                case RawPixelLayout::RGBA8888Premultiplied:
                    p[x * 4] = r, p[x * 4 + 1] = g, p[x * 4 + 2] = b, p[x * 4 + 3] = alpha;
                    break;
                case RawPixelLayout::RGB888:
                    p[x * 3] = r, p[x * 3 + 1] = g, p[x * 3 + 2] = b;
                    break;
                case RawPixelLayout::BGR888:
                    p[x * 3] = b, p[x * 3 + 1] = g, p[x * 3 + 2] = r;
                    break;
            }
        }
    }
    return bytes;
}

RawImageLayout layoutOf(RawPixelLayout format, std::int64_t width, std::int64_t height, std::int64_t stride,
                        double scale = 1.0) {
    return {width, height, stride, static_cast<std::int64_t>(format), scale};
}

TEST(WindowImage, EveryLayoutReadsTheSameColoursPastTheRowPadding) {
    struct Case {
        RawPixelLayout format;
        std::int64_t bytesPerPixel;
    };
    for (const Case c : {Case{RawPixelLayout::RGB32, 4}, Case{RawPixelLayout::ARGB32, 4},
                         Case{RawPixelLayout::ARGB32Premultiplied, 4}, Case{RawPixelLayout::RGBX8888, 4},
                         Case{RawPixelLayout::RGBA8888, 4}, Case{RawPixelLayout::RGBA8888Premultiplied, 4},
                         Case{RawPixelLayout::RGB888, 3}, Case{RawPixelLayout::BGR888, 3}}) {
        SCOPED_TRACE(static_cast<int>(c.format));
        const std::int64_t width = 50, height = 40, stride = width * c.bytesPerPixel + 8;
        const auto bytes = rawPicture(c.format, width, height, stride);
        const auto picture = cropRawImage(layoutOf(c.format, width, height, stride), bytes, {26, 7, 46, 40});
        ASSERT_TRUE(picture);
        ASSERT_EQ(picture->width, 20);
        ASSERT_EQ(picture->height, 33);
        for (std::int32_t y = 0; y < picture->height; ++y) {
            for (std::int32_t x = 0; x < picture->width; ++x) ASSERT_EQ(picture->at(x, y), colourAt(26 + x, 7 + y));
        }
    }
}

TEST(WindowImage, ColoursWithAlphaShowAsOverBlack) {
    const auto straight = rawPicture(RawPixelLayout::RGBA8888, 2, 1, 8, 0x80);
    const auto picture = cropRawImage(layoutOf(RawPixelLayout::RGBA8888, 2, 1, 8), straight, {1, 0, 2, 1});
    ASSERT_TRUE(picture);
    const std::uint32_t c = colourAt(1, 0);
    const auto half = [](std::uint32_t v) { return (v * 0x80 + 127) / 255; };
    EXPECT_EQ(picture->at(0, 0), half(c >> 16) << 16 | half((c >> 8) & 0xFF) << 8 | half(c & 0xFF));
    // Premultiplied colours are already as they show.
    const auto premultiplied = rawPicture(RawPixelLayout::ARGB32Premultiplied, 2, 1, 8, 0x80);
    EXPECT_EQ(cropRawImage(layoutOf(RawPixelLayout::ARGB32Premultiplied, 2, 1, 8), premultiplied, {1, 0, 2, 1})->at(0, 0),
              c);
}

TEST(WindowImage, WhatLiesBeyondThePictureIsBlack) {
    const auto bytes = rawPicture(RawPixelLayout::RGB32, 30, 20, 120);
    const auto picture = cropRawImage(layoutOf(RawPixelLayout::RGB32, 30, 20, 120), bytes, {-2, 15, 8, 25});
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->at(0, 0), 0u);           // left of the picture
    EXPECT_EQ(picture->at(2, 0), colourAt(0, 15));
    EXPECT_EQ(picture->at(9, 4), colourAt(7, 19));
    EXPECT_EQ(picture->at(5, 5), 0u);           // below it
}

TEST(WindowImage, PictureAtTwiceTheScreensPixelsIsBroughtBack) {
    // Every screen pixel is a 2 x 2 block of one colour in the picture.
    const std::int64_t width = 40, height = 30, stride = width * 4;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(stride * height));
    for (std::int64_t y = 0; y < height; ++y) {
        for (std::int64_t x = 0; x < width; ++x) {
            const std::uint32_t word = 0xFF000000u | colourAt(x / 2, y / 2);
            std::memcpy(bytes.data() + y * stride + x * 4, &word, 4);
        }
    }
    const auto picture = cropRawImage(layoutOf(RawPixelLayout::RGB32, width, height, stride, 2.0), bytes, {3, 4, 13, 12});
    ASSERT_TRUE(picture);
    ASSERT_EQ(picture->width, 10);
    ASSERT_EQ(picture->height, 8);
    for (std::int32_t y = 0; y < 8; ++y) {
        for (std::int32_t x = 0; x < 10; ++x) ASSERT_EQ(picture->at(x, y), colourAt(3 + x, 4 + y));
    }
}

TEST(WindowImage, LayoutsThatCannotBeReadAreRefused) {
    EXPECT_EQ(rawImageBytes(layoutOf(RawPixelLayout::RGB32, 10, 5, 40)), 200u);
    EXPECT_EQ(rawImageBytes(layoutOf(RawPixelLayout::RGB888, 10, 5, 32)), 160u);
    EXPECT_FALSE(rawImageBytes({10, 5, 40, 7, 1.0}));   // a 16-bit format
    EXPECT_FALSE(rawImageBytes({10, 5, 40, 99, 1.0}));  // no format at all
    EXPECT_FALSE(rawImageBytes(layoutOf(RawPixelLayout::RGB32, 10, 5, 39)));  // rows shorter than their pixels
    EXPECT_FALSE(rawImageBytes(layoutOf(RawPixelLayout::RGB32, 0, 5, 40)));
    EXPECT_FALSE(rawImageBytes(layoutOf(RawPixelLayout::RGB32, 10, -5, 40)));
    EXPECT_FALSE(rawImageBytes(layoutOf(RawPixelLayout::RGB32, largestRawSide + 1, 1, 4 * (largestRawSide + 1))));
    EXPECT_FALSE(rawImageBytes(layoutOf(RawPixelLayout::RGB32, 10, 5, 40, 0.0)));
    EXPECT_FALSE(rawImageBytes(layoutOf(RawPixelLayout::RGB32, 10, 5, 40, std::nan(""))));
    // Fewer bytes than the layout needs: a pipe that closed early.
    const auto bytes = rawPicture(RawPixelLayout::RGB32, 10, 5, 40);
    EXPECT_FALSE(cropRawImage(layoutOf(RawPixelLayout::RGB32, 10, 5, 40), std::span(bytes).first(199), {0, 0, 1, 1}));
    EXPECT_TRUE(cropRawImage(layoutOf(RawPixelLayout::RGB32, 10, 5, 40), bytes, {0, 0, 1, 1}));
}

TEST(WindowImage, CameraLiesAtItsOffsetLessTheClientsOffsetInTheFrame) {
    // An X window under a title bar 37 pixels high, no side borders: the camera at
    // the frame's corner + (26, 44) is (26, 7) in the client's picture.
    const ScreenPoint frame{100, 100};
    const WindowPictureGeometry x11{frame, clientOffsetOf(frame, frame, ScreenPoint{100, 137}), {360, 320}};
    EXPECT_EQ(x11.clientOffset, (ScreenPoint{0, 37}));
    EXPECT_EQ(x11.inClientPicture({126, 144, 448, 386}), (ScreenRect{26, 7, 348, 249}));
    // A native window decorated by the compositor: its buffer is the client area.
    const WindowPictureGeometry decorated{frame, clientOffsetOf(frame, {104, 137}, std::nullopt), {360, 320}};
    EXPECT_EQ(decorated.inClientPicture({126, 144, 288, 266}), (ScreenRect{22, 7, 184, 129}));
    // A native window that draws its own frame and a shadow 32 pixels wide around it.
    const WindowPictureGeometry ownShadow{
        {429, 286}, clientOffsetOf({429, 286}, {397, 254}, std::nullopt), {806, 491}};
    EXPECT_EQ(ownShadow.clientOffset, (ScreenPoint{-32, -32}));
    EXPECT_EQ(ownShadow.inClientPicture({455, 330, 777, 572}), (ScreenRect{58, 76, 380, 318}));
    // Off the screen's top-left: negative corners.
    const WindowPictureGeometry offScreen{{-300, -20}, {0, 37}, {360, 320}};
    EXPECT_EQ(offScreen.inClientPicture({-274, 24, 48, 266}), (ScreenRect{26, 7, 348, 249}));
}

TEST(WindowImage, OnlyAPictureOfTheClientsSizeAtItsScaleIsTheClientPicture) {
    const WindowPictureGeometry window{{100, 100}, {0, 37}, {360, 320}};
    EXPECT_TRUE(window.isClientPicture(layoutOf(RawPixelLayout::RGB32, 360, 320, 1440)));
    EXPECT_TRUE(window.isClientPicture(layoutOf(RawPixelLayout::RGB32, 720, 640, 2880, 2.0)));
    EXPECT_TRUE(window.isClientPicture(layoutOf(RawPixelLayout::RGB32, 540, 480, 2160, 1.5)));
    // The whole frame with its title bar, or the frame with a shadow around it.
    EXPECT_FALSE(window.isClientPicture(layoutOf(RawPixelLayout::RGB32, 360, 357, 1440)));
    EXPECT_FALSE(window.isClientPicture(layoutOf(RawPixelLayout::RGB32, 424, 421, 1696)));
    // The client's size, but not at the scale the picture says it has.
    EXPECT_FALSE(window.isClientPicture(layoutOf(RawPixelLayout::RGB32, 360, 320, 1440, 2.0)));
}

}  // namespace
}  // namespace skl
