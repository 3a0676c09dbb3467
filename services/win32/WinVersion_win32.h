#pragma once
// The running system's version record.

#include "services/WinVersion.h"

namespace skl {

class Win32OsVersionSource final : public OsVersionSource {
public:
    OsVersion queryOsVersion() override;
};

}  // namespace skl
