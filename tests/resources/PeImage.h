#pragma once
// The headers and sections of a Windows executable (PE32 or PE32+), and reading
// its bytes by the addresses the headers give, for the tests that check what the
// build put into the program.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace skl::test {

// Little-endian reads that throw std::runtime_error instead of reading past the end.
struct ByteReader {
    std::span<const std::uint8_t> bytes;

    std::uint32_t u16(std::size_t at) const;
    std::uint32_t u32(std::size_t at) const;
    std::uint64_t u64(std::size_t at) const;
    std::string cString(std::size_t at) const;  // up to its terminating zero, which must be there
    void need(std::size_t at, std::size_t count) const;
};

struct PeHeaders {
    std::uint32_t machine = 0;        // 0x14C for x86, 0x8664 for x86-64
    std::uint32_t timeDateStamp = 0;  // seconds since 1970 when the linker wrote one
    bool pe32Plus = false;            // the 64-bit form of the optional header
    std::uint32_t majorOsVersion = 0, minorOsVersion = 0;
    std::uint32_t majorSubsystemVersion = 0, minorSubsystemVersion = 0;
    std::uint32_t subsystem = 0;  // 2 for a GUI program
};

struct DataDirectory {
    std::uint32_t rva = 0, size = 0;
};

// Data directory indices.
constexpr std::size_t importDirectory = 1, resourceDirectory = 2, delayImportDirectory = 13;

class PeImage {
public:
    // Throws std::runtime_error when the bytes are no executable.
    explicit PeImage(std::span<const std::uint8_t> bytes);

    const PeHeaders& headers() const { return headers_; }
    DataDirectory directory(std::size_t index) const;
    // Where the byte at a relative virtual address lies in the file; throws when
    // the address is in no section's stored bytes.
    std::size_t fileOffsetOf(std::uint32_t rva) const;
    const ByteReader& reader() const { return reader_; }

private:
    struct Section {
        std::uint32_t virtualAddress, virtualSize, rawSize, rawOffset;
    };

    ByteReader reader_;
    PeHeaders headers_;
    std::vector<DataDirectory> directories_;
    std::vector<Section> sections_;
};

}  // namespace skl::test
