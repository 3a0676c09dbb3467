#pragma once
// WinVersion: names the operating system from its version record.

#include <cstdint>

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

class OsVersionSource {
public:
    virtual ~OsVersionSource() = default;
    virtual OsVersion queryOsVersion() = 0;
};

// "name major.minor" CR LF "Build n", e.g. "WindowsNT 5.1\r\nBuild 600".
Text GetWindowsVersion(const OsVersion& version);

inline Text GetWindowsVersion(OsVersionSource& source) {
    return GetWindowsVersion(source.queryOsVersion());
}

// Characters 8 and 9 of the version text: "NT" exactly on the NT platform.
inline Text osTagOf(const Text& versionText) {
    return versionText.size() < 8 ? Text{} : versionText.substr(7, 2);
}

}  // namespace skl
