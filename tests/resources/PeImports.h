#pragma once
// The import table of a Windows executable: every entry point it asks the loader
// for, by DLL.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace skl::test {

struct PeImport {
    std::string dll;          // as the executable spells it
    std::string entry;        // empty when imported by ordinal
    std::uint32_t ordinal = 0;  // only for imports by ordinal
};

// Throws std::runtime_error when the bytes are no executable or the table leads
// outside the file.
std::vector<PeImport> readPeImports(std::span<const std::uint8_t> exe);

}  // namespace skl::test
