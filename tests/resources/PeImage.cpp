#include "PeImage.h"

#include <algorithm>
#include <stdexcept>

namespace skl::test {

void ByteReader::need(std::size_t at, std::size_t count) const {
    if (at > bytes.size() || bytes.size() - at < count) throw std::runtime_error("read past the end");
}

std::uint32_t ByteReader::u16(std::size_t at) const {
    need(at, 2);
    return static_cast<std::uint32_t>(bytes[at] | bytes[at + 1] << 8);
}

std::uint32_t ByteReader::u32(std::size_t at) const { return u16(at) | u16(at + 2) << 16; }

std::uint64_t ByteReader::u64(std::size_t at) const { return u32(at) | std::uint64_t{u32(at + 4)} << 32; }

std::string ByteReader::cString(std::size_t at) const {
    need(at, 0);
    const auto first = bytes.begin() + static_cast<std::ptrdiff_t>(at);
    const auto end = std::find(first, bytes.end(), std::uint8_t{0});
    if (end == bytes.end()) throw std::runtime_error("string without its terminating zero");
    return {first, end};
}

PeImage::PeImage(std::span<const std::uint8_t> bytes) : reader_{bytes} {
    if (reader_.u16(0) != 0x5A4D) throw std::runtime_error("no MZ header");
    const std::size_t pe = reader_.u32(0x3C);
    if (reader_.u32(pe) != 0x00004550) throw std::runtime_error("no PE signature");
    headers_.machine = reader_.u16(pe + 4);
    const std::size_t sectionCount = reader_.u16(pe + 6);
    headers_.timeDateStamp = reader_.u32(pe + 8);
    const std::size_t optional = pe + 24;
    const std::uint32_t magic = reader_.u16(optional);
    if (magic != 0x10B && magic != 0x20B) throw std::runtime_error("unknown optional header");
    headers_.pe32Plus = magic == 0x20B;
    headers_.majorOsVersion = reader_.u16(optional + 40);
    headers_.minorOsVersion = reader_.u16(optional + 42);
    headers_.majorSubsystemVersion = reader_.u16(optional + 48);
    headers_.minorSubsystemVersion = reader_.u16(optional + 50);
    headers_.subsystem = reader_.u16(optional + 68);

    const std::size_t countAt = optional + (headers_.pe32Plus ? 108 : 92);
    const std::size_t directoryCount = reader_.u32(countAt);
    for (std::size_t i = 0; i < directoryCount; ++i)
        directories_.push_back({reader_.u32(countAt + 4 + 8 * i), reader_.u32(countAt + 8 + 8 * i)});

    const std::size_t table = optional + reader_.u16(pe + 20);
    for (std::size_t i = 0; i < sectionCount; ++i) {
        const std::size_t s = table + 40 * i;
        sections_.push_back({reader_.u32(s + 12), reader_.u32(s + 8), reader_.u32(s + 16), reader_.u32(s + 20)});
    }
}

DataDirectory PeImage::directory(std::size_t index) const {
    return index < directories_.size() ? directories_[index] : DataDirectory{};
}

std::size_t PeImage::fileOffsetOf(std::uint32_t rva) const {
    for (const Section& s : sections_) {
        const std::uint32_t extent = std::max(s.virtualSize, s.rawSize);
        if (rva >= s.virtualAddress && rva - s.virtualAddress < extent && rva - s.virtualAddress < s.rawSize)
            return s.rawOffset + (rva - s.virtualAddress);
    }
    throw std::runtime_error("address in no section");
}

}  // namespace skl::test
