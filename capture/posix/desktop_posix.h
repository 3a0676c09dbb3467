#pragma once
// The Linux edition's file store and clock: plain POSIX, no display needed.

#include "capture/Ports.h"

namespace skl {

// Creates the file only where none exists, and removes it again if writing fails.
// Paths are written as UTF-8.
class PosixFileStore final : public FileStore {
public:
    WriteResult writeNewFile(const Text& path, std::span<const std::uint8_t> bytes) override;
};

class PosixClock final : public Clock {
public:
    LocalTime localNow() override;
    std::int64_t monotonicMilliseconds() override;
    void sleepMilliseconds(int milliseconds) override;
};

}  // namespace skl
