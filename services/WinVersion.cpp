#include "WinVersion.h"

#include <string>

namespace skl {
namespace {

const wchar_t* systemName(const OsVersion& v) {
    switch (v.platformId) {
        case 0:
            return L"Windows ";
        case 1:
            if (v.majorVersion == 5) return L"Windows 2000 ";
            if (v.majorVersion < 4 || (v.majorVersion == 4 && v.minorVersion == 0)) return L"Windows95 ";
            return L"Windows98 ";
        case 2:
            return L"WindowsNT ";
        default:
            return L"";
    }
}

}  // namespace

Text GetWindowsVersion(const OsVersion& version) {
    return systemName(version) + std::to_wstring(version.majorVersion) + L"." +
           std::to_wstring(version.minorVersion) + L"\r\nBuild " + std::to_wstring(version.buildNumber);
}

PlatformFamily platformFamilyOf(const OsVersion& version) {
    return platformFamilyOf(osTagOf(GetWindowsVersion(version)));
}

}  // namespace skl
