#pragma once
// WinVersion: names the operating system from its version record, and tells the
// family of systems it belongs to.

#include <cstdint>

#include "capture/CaptureState.h"
#include "capture/Text.h"

namespace skl {

// The fields of the system's version record that the name is made from, read as
// signed values; all 0 when the query failed.
struct OsVersion {
    std::int32_t majorVersion = 0;
    std::int32_t minorVersion = 0;
    std::int32_t buildNumber = 0;
    std::int32_t platformId = 0;
};

// "name major.minor" CR LF "Build n", e.g. "WindowsNT 5.1\r\nBuild 600".
Text GetWindowsVersion(const OsVersion& version);

// Characters 8 and 9 of the version text: "NT" exactly on the NT platform.
inline Text osTagOf(const Text& versionText) {
    return versionText.size() < 8 ? Text{} : versionText.substr(7, 2);
}

// The family named by the tag of the record's version text.
PlatformFamily platformFamilyOf(const OsVersion& version);

}  // namespace skl
