#include <chrono>

#include "tools/bench/Stopwatch.h"

namespace skl::bench {

double nowMs() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace skl::bench
