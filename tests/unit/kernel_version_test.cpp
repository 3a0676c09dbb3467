// The version the Linux edition reports: the NT platform with the kernel's numbers.

#include <gtest/gtest.h>

#include "services/KernelRelease.h"
#include "services/posix/WinVersion_posix.h"

namespace skl {
namespace {

void expectVersion(std::string_view release, std::int32_t major, std::int32_t minor, std::int32_t build) {
    const OsVersion version = osVersionOfKernel(release);
    EXPECT_EQ(version.majorVersion, major) << release;
    EXPECT_EQ(version.minorVersion, minor) << release;
    EXPECT_EQ(version.buildNumber, build) << release;
    EXPECT_EQ(version.platformId, 2) << release;
}

TEST(KernelRelease, ReleaseNumbersBecomeMajorMinorAndBuild) {
    expectVersion("6.1.0-13-amd64", 6, 1, 0);
    expectVersion("5.15.133.1-microsoft-standard-WSL2", 5, 15, 133);
    expectVersion("4.19.304", 4, 19, 304);
    expectVersion("6.8", 6, 8, 0);
    expectVersion("6.8-rc3", 6, 8, 0);
    expectVersion("6.10.0rc1", 6, 10, 0);
}

TEST(KernelRelease, WhatIsNotANumberReadsZero) {
    expectVersion("", 0, 0, 0);
    expectVersion("linux", 0, 0, 0);
    expectVersion("6..1", 6, 0, 0);
    expectVersion("-6.1.0", 0, 0, 0);
    expectVersion("6.-1.2", 6, 0, 0);
    expectVersion("99999999999.1.2", 0, 0, 0);
    expectVersion("6.1.99999999999", 6, 1, 0);
    expectVersion("2147483647.0.1", 2147483647, 0, 1);
}

TEST(KernelRelease, TheRunningKernelTakesTheNtPath) {
    UnameOsVersionSource source;
    const Text text = GetWindowsVersion(source);
    EXPECT_EQ(osTagOf(text), L"NT");
    EXPECT_GT(source.queryOsVersion().majorVersion, 0);
}

}  // namespace
}  // namespace skl
