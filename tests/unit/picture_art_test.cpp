// The other pictures: the smiley, the ID plate, the link banner, the splash and the
// window icon, checked on the committed files.

#include <gtest/gtest.h>

#include <set>

#include "AssetFiles.h"
#include "tools/art/Pictures.h"

namespace skl::test {
namespace {

constexpr std::uint32_t ground = 0x8080FF, white = 0xFFFFFF, black = 0x000000, yellow = 0xFFFF00, red = 0xFF0000,
                        blue = 0x0000FF, skyBlue = 0x0080FF, violet = 0x8482FC, green = 0x04FE84, logoBlue = 0x0482FC,
                        darkRed = 0x800200;

std::set<std::uint32_t> coloursOf(const Picture& p) { return {p.pixels.begin(), p.pixels.end()}; }

// Every shape pixel that borders the ground (or the picture's edge) is outline colour,
// so against the window only the outline and what it encloses show.
void expectOutlined(const Picture& p, std::uint32_t outline) {
    const auto groundAt = [&](int x, int y) {
        return x < 0 || y < 0 || x >= p.width || y >= p.height || p.at(x, y) == ground;
    };
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            if (groundAt(x, y)) continue;
            const bool border = groundAt(x - 1, y) || groundAt(x + 1, y) || groundAt(x, y - 1) || groundAt(x, y + 1);
            ASSERT_EQ(p.at(x, y) == outline, border) << x << "," << y;
        }
}

TEST(PictureArt, SmileyIsAnOutlinedYellowDiscWithOvalEyesAndAGrin) {
    const Picture p = loadAssetBitmap("Picture1.bmp");
    ASSERT_EQ(p.width, 32);
    ASSERT_EQ(p.height, 31);
    EXPECT_EQ(coloursOf(p), (std::set<std::uint32_t>{ground, yellow, red, blue, white}));
    EXPECT_EQ(boxOf(p, [](std::uint32_t c) { return c != ground; }), (Box{1, 1, 29, 29}));
    expectOutlined(p, red);

    EXPECT_EQ(boxOf(p, blue, {0, 0, 15, 30}), (Box{7, 9, 11, 16}));
    EXPECT_EQ(boxOf(p, blue, {16, 0, 31, 30}), (Box{19, 9, 23, 16}));
    for (const int left : {7, 19}) {  // upright ovals: rounded at the four corners only
        EXPECT_NE(p.at(left, 9), blue);
        EXPECT_NE(p.at(left + 4, 16), blue);
        EXPECT_EQ(p.at(left + 2, 9), blue);
        EXPECT_EQ(p.at(left, 12), blue);
    }

    EXPECT_EQ(boxOf(p, white), (Box{7, 21, 23, 26}));
    EXPECT_EQ(boxOf(p, white, {0, 21, 31, 21}), (Box{7, 21, 23, 21}));
    for (int x = 7; x <= 23; ++x) EXPECT_EQ(p.at(x, 21), white) << "straight upper edge, column " << x;
    EXPECT_EQ(boxOf(p, white, {0, 26, 31, 26}), (Box{12, 26, 18, 26}));
}

TEST(PictureArt, PlateIsWhiteInARedOutlineWithRoundedCorners) {
    const Picture p = loadAssetBitmap("Picture2.bmp");
    ASSERT_EQ(p.width, 144);
    ASSERT_EQ(p.height, 31);
    EXPECT_EQ(coloursOf(p), (std::set<std::uint32_t>{ground, red, white}));
    EXPECT_EQ(boxOf(p, [](std::uint32_t c) { return c != ground; }), (Box{0, 1, 142, 29}));
    expectOutlined(p, red);
    for (const auto& [x, y] : {std::pair{0, 1}, {142, 1}, {0, 29}, {142, 29}}) EXPECT_EQ(p.at(x, y), ground);
    // The curves run over about six pixels each way.
    const Box topRow = *boxOf(p, red, {0, 1, 143, 1});
    const Box leftColumn = *boxOf(p, red, {0, 0, 0, 30});
    EXPECT_GE(topRow.left, 4);
    EXPECT_LE(topRow.left, 8);
    EXPECT_GE(leftColumn.top, 5);
    EXPECT_LE(leftColumn.top, 9);
    // The ID label (129 x 17 pixels at 8, 8) stands on white.
    EXPECT_EQ(boxOf(p, [](std::uint32_t c) { return c != white; }, {8, 8, 136, 24}), std::nullopt);
}

TEST(PictureArt, BannerHasTheAddressCutOutOfWhiteAndTheSloganOnGround) {
    const Picture p = loadAssetBitmap("brellow.bmp");
    ASSERT_EQ(p.width, 324);
    ASSERT_EQ(p.height, 18);
    EXPECT_EQ(coloursOf(p), (std::set<std::uint32_t>{black, white, ground}));
    for (int x = 0; x < p.width; ++x) {
        EXPECT_EQ(p.at(x, 0), black);
        EXPECT_EQ(p.at(x, 17), black);
    }
    for (int y = 0; y < p.height; ++y) {
        EXPECT_EQ(p.at(0, y), black);
        EXPECT_EQ(p.at(323, y), black);
    }
    EXPECT_EQ(boxOf(p, black, {1, 1, 322, 16}), std::nullopt);
    // The field's edges are whole, so the address letters lie inside it.
    EXPECT_EQ(boxOf(p, ground, {1, 1, 134, 1}), std::nullopt);
    EXPECT_EQ(boxOf(p, ground, {1, 16, 134, 16}), std::nullopt);
    EXPECT_EQ(boxOf(p, ground, {1, 1, 1, 16}), std::nullopt);
    EXPECT_EQ(boxOf(p, ground, {134, 1, 134, 16}), std::nullopt);
    EXPECT_TRUE(boxOf(p, ground, {2, 2, 133, 15}).has_value()) << "no address";
    // The slogan stands clear of the field and the frame.
    EXPECT_EQ(boxOf(p, white, {135, 1, 135, 16}), std::nullopt);
    EXPECT_EQ(boxOf(p, white, {322, 1, 322, 16}), std::nullopt);
    EXPECT_TRUE(boxOf(p, white, {136, 1, 321, 16}).has_value()) << "no slogan";
}

TEST(PictureArt, SplashShowsTheShadedLogoTitleAndNoticeOnBlack) {
    const Picture p = loadAssetBitmap("Image1.bmp");
    ASSERT_EQ(p.width, 322);
    ASSERT_EQ(p.height, 242);
    const std::set<std::uint32_t> colours = coloursOf(p);
    EXPECT_GE(colours.size(), 1300u) << "too little shading";
    EXPECT_LE(colours.size(), 2400u);
    for (const std::uint32_t c : {black, violet, green, logoBlue, darkRed, red, ground})
        EXPECT_TRUE(colours.contains(c)) << std::hex << c;
    for (const auto& [x, y] : {std::pair{0, 0}, {321, 0}, {321, 241}, {0, 241}}) EXPECT_EQ(p.at(x, y), black);

    EXPECT_TRUE(boxOf(p, darkRed, {0, 0, 0, 241}).has_value()) << "the stroke does not reach the left edge";

    // The handle is the only thing above the name right of column 140.
    EXPECT_EQ(boxOf(p, [](std::uint32_t c) { return c != black; }, {140, 0, 321, 20}), (Box{156, 4, 289, 17}));
    EXPECT_TRUE(boxOf(p, violet, {156, 4, 289, 17}).has_value());

    const std::optional<Box> first = boxOf(p, red, {0, 0, 321, 38});
    const std::optional<Box> second = boxOf(p, red, {0, 39, 321, 241});
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->top, 24);
    EXPECT_EQ(first->bottom, 36);
    EXPECT_EQ(second->top, 40);
    EXPECT_EQ(second->bottom, 52);
    EXPECT_GE(first->left, 150);
    EXPECT_EQ(second->right, 320);
    EXPECT_GT(second->left, first->left);

    EXPECT_EQ(boxOf(p, ground), (Box{58, 227, 252, 239}));
}

TEST(PictureArt, IconHasASmileyLowerLeftAndTheLogoAboveAndRight) {
    const std::vector<std::uint8_t> ico = readAssetFile("Form1.ico");
    ASSERT_EQ(ico.size(), 3262u);
    Picture p{32, 32, std::vector<std::uint32_t>(32 * 32)};
    for (int y = 0; y < 32; ++y)  // colour rows bottom-up after the 22-byte directory and 40-byte header
        for (int x = 0; x < 32; ++x) {
            const std::size_t at = 62 + static_cast<std::size_t>(31 - y) * 96 + static_cast<std::size_t>(x) * 3;
            p.pixels[static_cast<std::size_t>(y * 32 + x)] = ico[at] | ico[at + 1] << 8 | ico[at + 2] << 16;
        }

    EXPECT_EQ(boxOf(p, yellow), (Box{0, 19, 11, 31}));
    EXPECT_EQ(boxOf(p, skyBlue, {0, 19, 5, 31}), (Box{2, 23, 4, 26}));
    EXPECT_EQ(boxOf(p, skyBlue, {6, 19, 11, 31}), (Box{7, 23, 9, 26}));
    for (const int left : {2, 7}) {  // plus-shaped: the box's corners are not blue
        EXPECT_NE(p.at(left, 23), skyBlue);
        EXPECT_NE(p.at(left + 2, 26), skyBlue);
        EXPECT_EQ(p.at(left + 1, 23), skyBlue);
        EXPECT_EQ(p.at(left, 24), skyBlue);
    }
    const std::optional<Box> grin = boxOf(p, white);
    ASSERT_TRUE(grin);
    EXPECT_EQ(grin->top, 28);
    EXPECT_EQ(grin->bottom, 30);
    EXPECT_LE(grin->right, 11);

    const auto logo = [](std::uint32_t c) { return c == violet || c == green || c == logoBlue; };
    EXPECT_EQ(boxOf(p, logo, {0, 19, 11, 31}), std::nullopt) << "the logo runs into the smiley";
    for (const std::uint32_t c : {violet, green, logoBlue}) EXPECT_TRUE(boxOf(p, c).has_value()) << std::hex << c;
    EXPECT_EQ(p.at(0, 0), black);
    EXPECT_EQ(p.at(31, 31), black);
}

TEST(PictureArt, DesktopIconsAreTheWindowIconAtEachSize) {
    const Picture icon = art::windowIcon();
    const auto channel = [](std::uint32_t pixel, int shift) { return static_cast<int>(pixel >> shift & 0xFF); };
    // The whole picture's mean colour stays, whatever the size.
    const auto meanChannel = [&](const Picture& p, int shift) {
        double sum = 0;
        for (const std::uint32_t pixel : p.pixels) sum += channel(pixel, shift);
        return sum / static_cast<double>(p.pixels.size());
    };
    for (const int size : art::desktopIconSizes) {
        const Picture scaled = art::windowIconAt(size);
        ASSERT_EQ(scaled.width, size);
        ASSERT_EQ(scaled.height, size);
        for (const int shift : {0, 8, 16}) EXPECT_NEAR(meanChannel(scaled, shift), meanChannel(icon, shift), 1.0) << size;
    }
    EXPECT_EQ(art::windowIconAt(32), icon);
    // Larger by whole factors: each pixel a block; at 16 each pixel the mean of a 2 x 2 block.
    const Picture large = art::windowIconAt(256), small = art::windowIconAt(16);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) ASSERT_EQ(large.at(x * 8 + 7, y * 8 + 3), icon.at(x, y)) << x << "," << y;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            for (const int shift : {0, 8, 16}) {
                const int sum = channel(icon.at(2 * x, 2 * y), shift) + channel(icon.at(2 * x + 1, 2 * y), shift) +
                                channel(icon.at(2 * x, 2 * y + 1), shift) + channel(icon.at(2 * x + 1, 2 * y + 1), shift);
                ASSERT_EQ(channel(small.at(x, y), shift), (sum + 2) / 4) << x << "," << y;
            }
}

}  // namespace
}  // namespace skl::test
