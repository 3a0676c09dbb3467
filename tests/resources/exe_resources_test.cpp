// The resources of the built program: its manifest, its pictures, its icon and
// its version information, read out of the executable named at configure time.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <string>

#include "FileBytes.h"
#include "PeResources.h"
#include "window/win32/resource_ids_win32.h"

namespace skl::test {
namespace {

constexpr std::uint32_t rtBitmap = 2, rtIcon = 3, rtGroupIcon = 14, rtVersion = 16, rtManifest = 24;
constexpr std::uint32_t neutral = 0, usEnglish = 1033;

std::vector<std::uint8_t> asset(const std::string& name) {
    return readFileBytes(std::string(SKELLIMOR_SOURCE_DIR) + "/assets/" + name);
}

std::uint32_t le(const std::vector<std::uint8_t>& b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | b.at(at + static_cast<std::size_t>(i));
    return v;
}

class ExeResources : public testing::Test {
protected:
    static void SetUpTestSuite() { resources = readPeResources(readFileBytes(SKELLIMOR_EXE_PATH)); }

    static std::vector<const PeResource*> ofType(std::uint32_t type) {
        std::vector<const PeResource*> found;
        for (const PeResource& r : resources)
            if (r.type == type) found.push_back(&r);
        return found;
    }

    static inline std::vector<PeResource> resources;
};

TEST_F(ExeResources, BitmapsAreThePictureFilesNamedAfterThemWithoutTheirFileHeader) {
    // Every picture file, under its name in capitals, which is how the loader looks
    // names up; and nothing else.
    std::map<std::u16string, std::filesystem::path> pictures;
    for (const auto& file : std::filesystem::directory_iterator(std::string(SKELLIMOR_SOURCE_DIR) + "/assets")) {
        if (file.path().extension() != ".bmp") continue;
        std::u16string name;
        for (const char c : file.path().stem().string())
            name.push_back(static_cast<char16_t>(std::toupper(static_cast<unsigned char>(c))));
        EXPECT_TRUE(pictures.emplace(name, file.path()).second) << "two pictures named " << file.path();
    }
    ASSERT_FALSE(pictures.empty());
    const auto found = ofType(rtBitmap);
    EXPECT_EQ(found.size(), pictures.size());
    for (const PeResource* bitmap : found) {
        EXPECT_EQ(bitmap->id, 0u) << "a numbered bitmap";
        EXPECT_EQ(bitmap->language, neutral);
        EXPECT_TRUE(pictures.contains(bitmap->name)) << "a bitmap named after no picture";
    }
    for (const auto& [name, file] : pictures) {
        SCOPED_TRACE(file.string());
        const auto r = std::find_if(found.begin(), found.end(), [&](const PeResource* p) { return p->name == name; });
        ASSERT_NE(r, found.end());
        const std::vector<std::uint8_t> bmp = readFileBytes(file.string());
        ASSERT_GT(bmp.size(), 14u);
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

// The manifest's text without its comments, and the start tags of its elements.
class ExeManifest : public ExeResources {
protected:
    static std::string text() {
        const auto manifests = ofType(rtManifest);
        if (manifests.empty()) return {};
        const std::string xml(manifests[0]->data.begin(), manifests[0]->data.end());
        return std::regex_replace(xml, std::regex("<!--[\\s\\S]*?-->"), "");
    }

    static std::vector<std::string> startTags(const std::string& name) {
        const std::string xml = text();
        const std::regex tag("<" + name + "(\\s[^>]*)?>");
        std::vector<std::string> tags;
        for (auto m = std::sregex_iterator(xml.begin(), xml.end(), tag); m != std::sregex_iterator(); ++m)
            tags.push_back(m->str());
        return tags;
    }

    static std::optional<std::string> attribute(const std::string& tag, const std::string& name) {
        std::smatch m;
        if (!std::regex_search(tag, m, std::regex("\\s" + name + "=\"([^\"]*)\""))) return std::nullopt;
        return m[1].str();
    }
};

TEST_F(ExeManifest, ExactlyOneManifestTheLoaderReads) {
    const auto manifests = ofType(rtManifest);
    ASSERT_EQ(manifests.size(), 1u) << "a second manifest, such as a toolchain's default one";
    EXPECT_EQ(manifests[0]->id, 1u);  // the one the loader reads for an executable
    EXPECT_EQ(manifests[0]->language, neutral);
}

TEST_F(ExeManifest, ElementsNestProperly) {
    // Windows refuses to start a program whose manifest is not well-formed XML.
    const std::string xml = text();
    const std::regex tag("<(/?)([A-Za-z][\\w:.-]*)[^>]*?(/?)>");
    std::vector<std::string> open;
    for (auto m = std::sregex_iterator(xml.begin(), xml.end(), tag); m != std::sregex_iterator(); ++m) {
        const std::string name = (*m)[2].str();
        if ((*m)[1].length() > 0) {
            ASSERT_FALSE(open.empty()) << "</" << name << "> closes nothing";
            ASSERT_EQ(open.back(), name) << "</" << name << "> closes <" << open.back() << ">";
            open.pop_back();
        } else if ((*m)[3].length() == 0) {
            open.push_back(name);
        }
    }
    EXPECT_TRUE(open.empty()) << "<" << open.back() << "> is never closed";
    ASSERT_GE(xml.size(), 5u);
    EXPECT_EQ(xml.substr(0, 5), "<?xml");
}

TEST_F(ExeManifest, DeclaresSystemDpiAwareness) {
    const std::string xml = text();
    std::smatch m;
    ASSERT_TRUE(std::regex_search(xml, m, std::regex("<dpiAware(\\s[^>]*)?>\\s*(\\w+)\\s*</dpiAware>")));
    EXPECT_EQ(attribute(m.str(), "xmlns"), std::string("http://schemas.microsoft.com/SMI/2005/WindowsSettings"));
    EXPECT_EQ(m[2].str(), "true");
    const auto settings = startTags("windowsSettings");
    ASSERT_EQ(settings.size(), 1u);
    const auto application = startTags("application");
    EXPECT_TRUE(std::any_of(application.begin(), application.end(), [](const std::string& tag) {
        return attribute(tag, "xmlns") == "urn:schemas-microsoft-com:asm.v3";
    })) << "windowsSettings is read only inside the asm.v3 application element";
}

TEST_F(ExeManifest, NamesEveryWindowsFromVistaOnAsSupported) {
    std::set<std::string> ids;
    for (const std::string& tag : startTags("supportedOS")) ids.insert(attribute(tag, "Id").value_or("?"));
    EXPECT_EQ(ids, (std::set<std::string>{
                       "{e2011457-1546-43c5-a5fe-008deee3d3f0}",  // Vista
                       "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // 7
                       "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // 8
                       "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // 8.1
                       "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // 10 and 11
                   }));
    const auto compatibility = startTags("compatibility");
    ASSERT_EQ(compatibility.size(), 1u);
    EXPECT_EQ(attribute(compatibility[0], "xmlns"), std::string("urn:schemas-microsoft-com:compatibility.v1"));
}

TEST_F(ExeManifest, RunsAsInvokerInTheFormWindowsXpAccepts) {
    const auto level = startTags("requestedExecutionLevel");
    ASSERT_EQ(level.size(), 1u);
    EXPECT_EQ(attribute(level[0], "level"), std::string("asInvoker"));
    EXPECT_EQ(attribute(level[0], "uiAccess"), std::string("false"));
    // XP refuses trustInfo in the manifest's own (asm.v1) namespace, and XP SP2
    // crashes on an element that declares namespaces twice.
    const auto trust = startTags("trustInfo");
    ASSERT_EQ(trust.size(), 1u);
    EXPECT_EQ(attribute(trust[0], "xmlns"), std::string("urn:schemas-microsoft-com:asm.v2"));
    const std::string xml = text();
    EXPECT_FALSE(std::regex_search(xml, std::regex("<[^>]*xmlns[:=][^>]*\\sxmlns[:=][^>]*>")));
}

TEST_F(ExeManifest, KeepsTheClassicControls) {
    // A dependency on Common Controls 6 would give the option buttons the themed look.
    EXPECT_TRUE(startTags("dependency").empty());
    EXPECT_EQ(text().find("Common-Controls"), std::string::npos);
    EXPECT_NE(text().find("<assembly"), std::string::npos);
}

}  // namespace
}  // namespace skl::test
