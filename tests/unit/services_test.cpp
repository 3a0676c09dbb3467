// The system services' portable rules: the version text, its tag and the family.

#include <gtest/gtest.h>

#include "services/WinVersion.h"

namespace skl::test {
namespace {

Text versionText(std::int32_t platform, std::int32_t major, std::int32_t minor, std::int32_t build = 600) {
    return GetWindowsVersion(OsVersion{major, minor, build, platform});
}

TEST(WinVersion, NamesTheSystemRowByRow) {
    EXPECT_EQ(versionText(0, 3, 11), L"Windows 3.11\r\nBuild 600");
    EXPECT_EQ(versionText(1, 5, 0), L"Windows 2000 5.0\r\nBuild 600");
    EXPECT_EQ(versionText(1, 3, 95), L"Windows95 3.95\r\nBuild 600");
    EXPECT_EQ(versionText(1, 4, 0), L"Windows95 4.0\r\nBuild 600");
    EXPECT_EQ(versionText(1, 4, 10), L"Windows98 4.10\r\nBuild 600");
    EXPECT_EQ(versionText(1, 4, 90), L"Windows98 4.90\r\nBuild 600");
    EXPECT_EQ(versionText(1, 6, 0), L"Windows98 6.0\r\nBuild 600");
    EXPECT_EQ(versionText(2, 5, 1), L"WindowsNT 5.1\r\nBuild 600");
    EXPECT_EQ(versionText(3, 5, 1), L"5.1\r\nBuild 600");
}

TEST(WinVersion, NumbersAreSignedPlainDecimal) {
    EXPECT_EQ(versionText(2, -1, 0, -5), L"WindowsNT -1.0\r\nBuild -5");
    EXPECT_EQ(versionText(1, -1, 0), L"Windows95 -1.0\r\nBuild 600");
    EXPECT_EQ(versionText(2, 10, 0, INT32_MIN), L"WindowsNT 10.0\r\nBuild -2147483648");
    EXPECT_EQ(versionText(2, 6, 1, 7601), L"WindowsNT 6.1\r\nBuild 7601");
}

TEST(WinVersion, FailedQueryGivesZeros) {
    EXPECT_EQ(GetWindowsVersion(OsVersion{}), L"Windows 0.0\r\nBuild 0");
    EXPECT_EQ(osTagOf(GetWindowsVersion(OsVersion{})), L" 0");
}

TEST(WinVersion, TagIsNtExactlyOnPlatformTwo) {
    for (const std::int32_t major : {4, 5, 6, 10}) EXPECT_EQ(osTagOf(versionText(2, major, 0)), L"NT");
    EXPECT_EQ(osTagOf(versionText(1, 4, 0)), L"95");
    EXPECT_EQ(osTagOf(versionText(1, 4, 10)), L"98");
    EXPECT_EQ(osTagOf(versionText(1, 5, 0)), L" 2");
    EXPECT_EQ(osTagOf(versionText(0, 3, 1)), L" 3");
    for (const std::int32_t platform : {3, -1, 99}) EXPECT_NE(osTagOf(versionText(platform, 5, 1)), L"NT");
    EXPECT_EQ(osTagOf(L"short"), L"");
}

TEST(WinVersion, OnlyTheNtTagNamesTheNtFamily) {
    EXPECT_EQ(platformFamilyOf(L"NT"), PlatformFamily::WindowsNT);
    for (const Text tag : {L"95", L"98", L" 2", L"nt", L""}) {
        EXPECT_EQ(platformFamilyOf(tag), PlatformFamily::Windows9x);
    }
}

TEST(WinVersion, TheRecordOfTheNtPlatformAloneNamesTheNtFamily) {
    for (const std::int32_t major : {4, 5, 6, 10}) {
        EXPECT_EQ(platformFamilyOf(OsVersion{major, 0, 600, 2}), PlatformFamily::WindowsNT);
    }
    for (const OsVersion& older : {OsVersion{4, 0, 950, 1}, OsVersion{4, 10, 1998, 1}, OsVersion{5, 0, 0, 1},
                                   OsVersion{3, 11, 0, 0}, OsVersion{5, 1, 2600, 3}, OsVersion{}}) {
        EXPECT_EQ(platformFamilyOf(older), PlatformFamily::Windows9x) << older.platformId;
    }
}

}  // namespace
}  // namespace skl::test
