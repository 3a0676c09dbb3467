#pragma once
// The running kernel's release, reported as an NT version.

#include "services/WinVersion.h"

namespace skl {

class UnameOsVersionSource final : public OsVersionSource {
public:
    OsVersion queryOsVersion() override;
};

}  // namespace skl
