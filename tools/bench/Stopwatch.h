#pragma once
// The benchmark's clock: monotonic milliseconds at the platform's finest
// resolution. (The Windows builds' standard steady clock is the wall clock with
// the win32 thread model, so each platform names its own.)

namespace skl::bench {

double nowMs();

}  // namespace skl::bench
