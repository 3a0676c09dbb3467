// The resources of the built program: its pictures, its icon and its version
// information, read out of the executable named at configure time.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "PeResources.h"
#include "window/resource_ids.h"

namespace skl::test {
namespace {

constexpr std::uint32_t rtBitmap = 2, rtIcon = 3, rtGroupIcon = 14, rtVersion = 16;
constexpr std::uint32_t neutral = 0, usEnglish = 1033;

std::vector<std::uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in) << path << " is missing";
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::uint8_t> asset(const std::string& name) {
    return readFile(std::string(SKELLIMOR_SOURCE_DIR) + "/assets/" + name);
}

std::uint32_t le(const std::vector<std::uint8_t>& b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | b.at(at + static_cast<std::size_t>(i));
    return v;
}

class ExeResources : public testing::Test {
protected:
    static void SetUpTestSuite() { resources = readPeResources(readFile(SKELLIMOR_EXE_PATH)); }

    static std::vector<const PeResource*> ofType(std::uint32_t type) {
        std::vector<const PeResource*> found;
        for (const PeResource& r : resources)
            if (r.type == type) found.push_back(&r);
        return found;
    }

    static inline std::vector<PeResource> resources;
};

TEST_F(ExeResources, BitmapsAreThePictureFilesWithoutTheirFileHeader) {
    const std::pair<std::uint32_t, const char*> bitmaps[] = {
        {IDB_DIRECTIONS0, "directions0.bmp"}, {IDB_DIRECTIONS1, "directions1.bmp"}, {IDB_PICTURE2, "Picture2.bmp"},
        {IDB_PICTURE1, "Picture1.bmp"},       {IDB_BRELLOW, "brellow.bmp"},         {IDB_ONTOP0, "ontop0.bmp"},
        {IDB_ONTOP1, "ontop1.bmp"},           {IDB_XIT, "xit.bmp"},                 {IDB_PREV0, "prev0.bmp"},
        {IDB_PREV1, "prev1.bmp"},             {IDB_PICK0, "pick0.bmp"},             {IDB_PICK1, "pick1.bmp"},
        {IDB_NEWCAM0, "newcam0.bmp"},         {IDB_NEWCAM1, "newcam1.bmp"},         {IDB_IMAGE1, "Image1.bmp"},
    };
    const auto found = ofType(rtBitmap);
    EXPECT_EQ(found.size(), std::size(bitmaps));
    for (const auto& [id, file] : bitmaps) {
        SCOPED_TRACE(file);
        const auto r = std::find_if(found.begin(), found.end(), [&](const PeResource* p) { return p->id == id; });
        ASSERT_NE(r, found.end());
        const std::vector<std::uint8_t> bmp = asset(file);
        EXPECT_TRUE((*r)->data == std::vector<std::uint8_t>(bmp.begin() + 14, bmp.end()));
    }
}

TEST_F(ExeResources, IconGroupOneListsTheSingleIconImage30001) {
    const auto groups = ofType(rtGroupIcon);
    ASSERT_EQ(groups.size(), 1u);
    const PeResource& group = *groups[0];
    EXPECT_EQ(group.id, static_cast<std::uint32_t>(IDI_FORM1));
    EXPECT_EQ(group.language, neutral);
    ASSERT_EQ(group.data.size(), 6u + 14u);
    const std::vector<std::uint8_t>& g = group.data;
    EXPECT_EQ(le(g, 0, 2), 0u);
    EXPECT_EQ(le(g, 2, 2), 1u);  // icons
    EXPECT_EQ(le(g, 4, 2), 1u);  // one entry
    EXPECT_EQ(g[6], 32);
    EXPECT_EQ(g[7], 32);
    EXPECT_EQ(g[8], 0);  // colour count
    EXPECT_EQ(g[9], 0);
    EXPECT_EQ(le(g, 10, 2), 1u);   // planes
    EXPECT_EQ(le(g, 12, 2), 24u);  // bits per pixel
    EXPECT_EQ(le(g, 14, 4), 3240u);
    EXPECT_EQ(le(g, 18, 2), static_cast<std::uint32_t>(IDI_FORM1_IMAGE));

    const auto icons = ofType(rtIcon);
    ASSERT_EQ(icons.size(), 1u);
    EXPECT_EQ(icons[0]->id, static_cast<std::uint32_t>(IDI_FORM1_IMAGE));
    EXPECT_EQ(icons[0]->language, neutral);
    const std::vector<std::uint8_t> ico = asset("Form1.ico");
    EXPECT_TRUE(icons[0]->data == std::vector<std::uint8_t>(ico.begin() + 22, ico.end()))
        << "the icon image is not Form1.ico's";
    EXPECT_EQ(icons[0]->data.size(), 3240u);
}

TEST_F(ExeResources, VersionIsOnePointZeroWithTheProductStringsInOrder) {
    const auto versions = ofType(rtVersion);
    ASSERT_EQ(versions.size(), 1u);
    EXPECT_EQ(versions[0]->id, 1u);
    EXPECT_EQ(versions[0]->language, usEnglish);
    const VersionBlock info = parseVersionResource(versions[0]->data);
    EXPECT_EQ(info.key, u"VS_VERSION_INFO");

    const std::vector<std::uint8_t>& fixed = info.value;
    ASSERT_EQ(fixed.size(), 52u);
    EXPECT_EQ(le(fixed, 0, 4), 0xFEEF04BDu);
    EXPECT_EQ(le(fixed, 8, 4), 0x00010000u);  // file version 1.0
    EXPECT_EQ(le(fixed, 12, 4), 0u);          // .0.0
    EXPECT_EQ(le(fixed, 16, 4), 0x00010000u);  // product version 1.0
    EXPECT_EQ(le(fixed, 20, 4), 0u);
    EXPECT_EQ(le(fixed, 24, 4), 0u);  // flags mask
    EXPECT_EQ(le(fixed, 28, 4), 0u);  // flags
    EXPECT_EQ(le(fixed, 32, 4), 4u);  // 32-bit Windows
    EXPECT_EQ(le(fixed, 36, 4), 1u);  // application
    EXPECT_EQ(le(fixed, 40, 4), 0u);
    EXPECT_EQ(le(fixed, 44, 4), 0u);
    EXPECT_EQ(le(fixed, 48, 4), 0u);

    const VersionBlock* strings = info.child(u"StringFileInfo");
    ASSERT_NE(strings, nullptr);
    ASSERT_EQ(strings->children.size(), 1u);
    const VersionBlock& table = strings->children[0];
    EXPECT_EQ(table.key, u"040904B0");
    const std::pair<std::u16string, std::u16string> expected[] = {
        {u"CompanyName", u"Morvath"},
        {u"LegalCopyright", u"(C) 2026 Morvath. All rights reserved."},
        {u"ProductName", u"Morvath's Skellimor"},
        {u"FileVersion", u"1.00"},
        {u"ProductVersion", u"1.00"},
        {u"InternalName", u"Morvath's Skellimor"},
        {u"OriginalFilename", u"Morvath's Skellimor.exe"},
    };
    ASSERT_EQ(table.children.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_TRUE(table.children[i].key == expected[i].first) << "string " << i;
        EXPECT_TRUE(table.children[i].isText);
        EXPECT_TRUE(table.children[i].text() == expected[i].second) << "string " << i;
    }

    const VersionBlock* vars = info.child(u"VarFileInfo");
    ASSERT_NE(vars, nullptr);
    const VersionBlock* translation = vars->child(u"Translation");
    ASSERT_NE(translation, nullptr);
    EXPECT_EQ(translation->value, (std::vector<std::uint8_t>{0x09, 0x04, 0xB0, 0x04}));
}

}  // namespace
}  // namespace skl::test
