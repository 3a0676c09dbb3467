// The committed picture files: one for each picture of the window, their file formats
// and sizes, and that they are exactly what the picture generator draws.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "AssetFiles.h"
#include "tools/art/AssetArt.h"
#include "window/Form1Definition.h"

namespace skl::test {
namespace {

// The picture of each control of the window, at the size its row gives; the
// smiley's file alone records no resolution.
struct BitmapFormat {
    int width;
    int height;
    std::uint32_t pixelsPerMetre;
};

std::map<std::string, BitmapFormat> bitmapsOfTheWindow() {
    std::map<std::string, BitmapFormat> bitmaps;
    for (const ControlDefinition& definition : form1Controls) {
        if (!definition.picture) continue;
        const std::string name = definition.picture;
        bitmaps[name + ".bmp"] = {definition.pictureSize.width, definition.pictureSize.height,
                                  name == "Picture1" ? 0u : 3780u};
    }
    return bitmaps;
}

const std::map<std::string, BitmapFormat> bitmaps = bitmapsOfTheWindow();

TEST(AssetFiles, GeneratorDrawsExactlyTheCommittedFiles) {
    const std::vector<art::Asset> drawn = art::makeAssets();
    std::set<std::string> names;
    for (const art::Asset& asset : drawn) {
        names.insert(asset.fileName);
        EXPECT_TRUE(readAssetFile(asset.fileName) == asset.bytes)
            << "assets/" << asset.fileName << " differs from the generator's; rerun make_assets";
    }
    std::set<std::string> expected = {"Form1.ico"};
    for (const auto& [name, format] : bitmaps) expected.insert(name);
    EXPECT_EQ(names, expected);
}

TEST(AssetFiles, BitmapsAreUncompressed24BitBottomUpWithA54ByteHeaderAtTheirControlsSize) {
    ASSERT_FALSE(bitmaps.empty());
    for (const auto& [name, format] : bitmaps) {
        SCOPED_TRACE(name);
        const std::vector<std::uint8_t> bytes = readAssetFile(name);
        const std::size_t stride = (static_cast<std::size_t>(format.width) * 3 + 3) / 4 * 4;
        const std::size_t imageSize = stride * static_cast<std::size_t>(format.height);
        ASSERT_EQ(bytes.size(), 54 + imageSize);
        EXPECT_EQ(bytes[0], 'B');
        EXPECT_EQ(bytes[1], 'M');
        EXPECT_EQ(read32(bytes, 2), bytes.size());
        EXPECT_EQ(read32(bytes, 6), 0u);   // reserved
        EXPECT_EQ(read32(bytes, 10), 54u);  // pixels right after the headers: no colour table
        EXPECT_EQ(read32(bytes, 14), 40u);
        EXPECT_EQ(static_cast<std::int32_t>(read32(bytes, 18)), format.width);
        EXPECT_EQ(static_cast<std::int32_t>(read32(bytes, 22)), format.height);  // positive: bottom-up
        EXPECT_EQ(read16(bytes, 26), 1);
        EXPECT_EQ(read16(bytes, 28), 24);
        EXPECT_EQ(read32(bytes, 30), 0u);  // no compression
        EXPECT_EQ(read32(bytes, 34), imageSize);
        EXPECT_EQ(read32(bytes, 38), format.pixelsPerMetre);
        EXPECT_EQ(read32(bytes, 42), format.pixelsPerMetre);
        EXPECT_EQ(read32(bytes, 46), 0u);
        EXPECT_EQ(read32(bytes, 50), 0u);
        for (std::size_t row = 0; row < static_cast<std::size_t>(format.height); ++row)
            for (std::size_t pad = static_cast<std::size_t>(format.width) * 3; pad < stride; ++pad)
                ASSERT_EQ(bytes[54 + row * stride + pad], 0) << "padding of row " << row;
    }
}

TEST(AssetFiles, IconHoldsOne32x32TrueColourImageWithAnOpaqueMask) {
    const std::vector<std::uint8_t> bytes = readAssetFile("Form1.ico");
    ASSERT_EQ(bytes.size(), 22u + 3240u);
    EXPECT_EQ(read16(bytes, 0), 0);
    EXPECT_EQ(read16(bytes, 2), 1);  // icon, not cursor
    EXPECT_EQ(read16(bytes, 4), 1);  // one image
    EXPECT_EQ(bytes[6], 32);
    EXPECT_EQ(bytes[7], 32);
    EXPECT_EQ(bytes[8], 0);  // no palette
    EXPECT_EQ(bytes[9], 0);
    EXPECT_EQ(read16(bytes, 10), 1);
    EXPECT_EQ(read16(bytes, 12), 24);
    EXPECT_EQ(read32(bytes, 14), 3240u);
    EXPECT_EQ(read32(bytes, 18), 22u);

    EXPECT_EQ(read32(bytes, 22), 40u);
    EXPECT_EQ(read32(bytes, 26), 32u);
    EXPECT_EQ(read32(bytes, 30), 64u);  // colour pixels and mask together
    EXPECT_EQ(read16(bytes, 34), 1);
    EXPECT_EQ(read16(bytes, 36), 24);
    EXPECT_EQ(read32(bytes, 38), 0u);
    const auto mask = bytes.begin() + 22 + 40 + 3072;
    EXPECT_EQ(bytes.end() - mask, 128);
    EXPECT_TRUE(std::all_of(mask, bytes.end(), [](std::uint8_t b) { return b == 0; })) << "a transparent pixel";
}

}  // namespace
}  // namespace skl::test
