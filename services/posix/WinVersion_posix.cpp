#include "services/posix/WinVersion_posix.h"

#include <sys/utsname.h>

#include "services/KernelRelease.h"

namespace skl {

OsVersion UnameOsVersionSource::queryOsVersion() {
    utsname system{};
    if (uname(&system) != 0) return osVersionOfKernel({});
    return osVersionOfKernel(system.release);
}

}  // namespace skl
