#pragma once
// The version the Linux edition reports in place of Windows' version record.

#include <string_view>

#include "services/WinVersion.h"

namespace skl {

inline constexpr std::int32_t ntPlatformId = 2;

// The NT platform, so that every consumer takes its NT path, with the kernel's
// release numbers ("6.1.0-13-amd64": 6, 1, 0) as major, minor and build. A number
// that is missing, not a number or beyond 32 bits reads 0, and so do those after it.
OsVersion osVersionOfKernel(std::string_view release);

}  // namespace skl
