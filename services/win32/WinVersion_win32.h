#pragma once
// The running system's version record.

#include "services/WinVersion.h"

namespace skl {

// All 0 when the system does not give it.
OsVersion runningSystemVersion();

}  // namespace skl
