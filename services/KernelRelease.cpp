#include "KernelRelease.h"

#include <charconv>

namespace skl {

OsVersion osVersionOfKernel(std::string_view release) {
    std::int32_t numbers[3] = {0, 0, 0};
    const char* at = release.data();
    const char* const end = release.data() + release.size();
    for (std::int32_t& number : numbers) {
        std::int32_t value = 0;
        const auto [next, error] = std::from_chars(at, end, value);
        if (error != std::errc{} || value < 0) break;  // from_chars takes a leading minus
        number = value;
        if (next == end || *next != '.') break;
        at = next + 1;
    }
    return {numbers[0], numbers[1], numbers[2], ntPlatformId};
}

}  // namespace skl
