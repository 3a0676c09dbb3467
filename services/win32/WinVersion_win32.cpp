#include "services/win32/services_win32.h"

#include <windows.h>

namespace skl {

OsVersion runningSystemVersion() {
    OSVERSIONINFOW record{};
    record.dwOSVersionInfoSize = sizeof(record);
    if (!GetVersionExW(&record)) return {};
    return {static_cast<std::int32_t>(record.dwMajorVersion), static_cast<std::int32_t>(record.dwMinorVersion),
            static_cast<std::int32_t>(record.dwBuildNumber), static_cast<std::int32_t>(record.dwPlatformId)};
}

}  // namespace skl
