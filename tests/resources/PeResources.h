#pragma once
// Reading the resources out of a Windows executable (PE32 or PE32+), for the test
// that checks what the build put into the program.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace skl::test {

struct PeResource {
    std::uint32_t type = 0;
    std::uint32_t id = 0;     // 0 for a named resource
    std::u16string name;      // empty for a numbered resource
    std::uint32_t language = 0;
    std::vector<std::uint8_t> data;
};

// Every resource, numbered or named; throws std::runtime_error when the bytes are no
// executable, its resource tree leads outside the file, or a type or language has a
// name rather than a number.
std::vector<PeResource> readPeResources(std::span<const std::uint8_t> exe);

// One block of a version resource: its key, its value's bytes and the blocks inside.
struct VersionBlock {
    std::u16string key;
    bool isText = false;
    std::vector<std::uint8_t> value;
    std::vector<VersionBlock> children;

    std::u16string text() const;  // the value as a string without its terminating zero
    const VersionBlock* child(std::u16string_view childKey) const;
};

// Parses a VS_VERSIONINFO resource; throws std::runtime_error when it is malformed.
VersionBlock parseVersionResource(std::span<const std::uint8_t> data);

}  // namespace skl::test
