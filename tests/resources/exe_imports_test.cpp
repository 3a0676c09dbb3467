// What the built program asks of Windows when it starts: every DLL and entry
// point it imports must exist on Windows XP SP3, and its headers must let XP's
// loader start it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <utility>

#include "FileBytes.h"
#include "PeImage.h"
#include "PeImports.h"

namespace skl::test {
namespace {

std::string lowercase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// The DLL!entry pairs of xp_sp3_exports.txt, DLL names in lowercase.
std::set<std::string> xpSp3Exports() {
    std::ifstream list(std::string(SKELLIMOR_SOURCE_DIR) + "/tests/resources/xp_sp3_exports.txt");
    EXPECT_TRUE(list) << "xp_sp3_exports.txt is missing";
    std::set<std::string> exports;
    for (std::string line; std::getline(list, line);) {
        if (line.empty() || line[0] == '#') continue;
        const std::size_t bang = line.find('!');
        EXPECT_TRUE(bang != std::string::npos && bang > 0 && bang + 1 < line.size()) << "not DLL!entry: " << line;
        exports.insert(lowercase(line.substr(0, bang)) + line.substr(bang));
    }
    return exports;
}

std::string describe(const PeImport& import) {
    return lowercase(import.dll) + "!" + (import.entry.empty() ? "#" + std::to_string(import.ordinal) : import.entry);
}

class ShippingExe : public testing::Test {
protected:
    static void SetUpTestSuite() { exe = readFileBytes(SKELLIMOR_EXE_PATH); }
    static inline std::vector<std::uint8_t> exe;
};

TEST_F(ShippingExe, ImportsOnlyWhatWindowsXpSp3Exports) {
    const std::set<std::string> allowed = xpSp3Exports();
    const std::vector<PeImport> imports = readPeImports(exe);
    ASSERT_FALSE(imports.empty());
    std::ostringstream missing;
    for (const PeImport& import : imports)
        if (!allowed.contains(describe(import))) missing << ' ' << describe(import);
    EXPECT_EQ(missing.str(), "") << "imported, but not among what Windows XP SP3 is known to export";
}

TEST_F(ShippingExe, LoadsNothingLate) {
    // Delay-loaded imports would escape the check above.
    EXPECT_EQ(PeImage(exe).directory(delayImportDirectory).size, 0u);
}

TEST_F(ShippingExe, HeadersLetWindowsXpStartIt) {
    const PeImage image(exe);
    const PeHeaders& headers = image.headers();
    EXPECT_EQ(headers.machine, 0x14Cu);  // x86
    EXPECT_FALSE(headers.pe32Plus);
    EXPECT_EQ(headers.subsystem, 2u);  // GUI
    const auto xp = std::pair{5u, 1u};
    EXPECT_LE(std::pair(headers.majorOsVersion, headers.minorOsVersion), xp);
    EXPECT_LE(std::pair(headers.majorSubsystemVersion, headers.minorSubsystemVersion), xp);
}

TEST_F(ShippingExe, CarriesNoLinkTime) {
    // A time stamp would make every build's bytes differ.
    EXPECT_EQ(PeImage(exe).headers().timeDateStamp, 0u);
}

}  // namespace
}  // namespace skl::test
