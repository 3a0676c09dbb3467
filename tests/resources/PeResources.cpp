#include "PeResources.h"

#include <stdexcept>

#include "PeImage.h"

namespace skl::test {
namespace {

constexpr std::uint32_t highBit = 0x80000000u;

// The entries of one resource directory, the named ones first: a number or a name
// (counted UTF-16, at an offset in the tree), and where it leads.
struct Entry {
    std::uint32_t id;
    std::u16string name;
    std::uint32_t offset;
    bool directory;
};

std::vector<Entry> entriesOf(const ByteReader& in, std::size_t root, std::uint32_t directory) {
    const std::size_t at = root + directory;
    const std::uint32_t named = in.u16(at + 12);
    const std::uint32_t numbered = in.u16(at + 14);
    std::vector<Entry> entries;
    for (std::uint32_t i = 0; i < named + numbered; ++i) {
        const std::size_t entry = at + 16 + 8 * static_cast<std::size_t>(i);
        const std::uint32_t key = in.u32(entry);
        const std::uint32_t target = in.u32(entry + 4);
        if (((key & highBit) != 0) != (i < named)) throw std::runtime_error("named and numbered entries mixed");
        Entry found{key & ~highBit, {}, target & ~highBit, (target & highBit) != 0};
        if (i < named) {
            const std::size_t name = root + found.id;
            const std::uint32_t length = in.u16(name);
            for (std::uint32_t c = 0; c < length; ++c)
                found.name.push_back(static_cast<char16_t>(in.u16(name + 2 + 2 * static_cast<std::size_t>(c))));
            found.id = 0;
        }
        entries.push_back(std::move(found));
    }
    return entries;
}

std::size_t align4(std::size_t at) { return (at + 3) & ~std::size_t{3}; }

VersionBlock parseBlock(const ByteReader& in, std::size_t at, std::size_t& end) {
    const std::size_t length = in.u16(at);
    const std::size_t valueLength = in.u16(at + 2);
    VersionBlock block;
    block.isText = in.u16(at + 4) == 1;
    end = at + length;
    in.need(at, length);
    std::size_t p = at + 6;
    for (std::uint32_t c; (c = in.u16(p)) != 0; p += 2) block.key.push_back(static_cast<char16_t>(c));
    p = align4(p + 2);
    const std::size_t valueBytes = block.isText ? valueLength * 2 : valueLength;
    in.need(p, valueBytes);
    block.value.assign(in.bytes.begin() + static_cast<std::ptrdiff_t>(p),
                       in.bytes.begin() + static_cast<std::ptrdiff_t>(p + valueBytes));
    for (p = align4(p + valueBytes); p < end; p = align4(p)) {
        std::size_t childEnd = 0;
        block.children.push_back(parseBlock(in, p, childEnd));
        if (childEnd <= p || childEnd > end) throw std::runtime_error("version block of bad length");
        p = childEnd;
    }
    return block;
}

}  // namespace

std::vector<PeResource> readPeResources(std::span<const std::uint8_t> exe) {
    const PeImage image(exe);
    const ByteReader& in = image.reader();
    const std::uint32_t resourceRva = image.directory(resourceDirectory).rva;
    if (resourceRva == 0) return {};

    const std::size_t root = image.fileOffsetOf(resourceRva);
    std::vector<PeResource> resources;
    for (const Entry& type : entriesOf(in, root, 0)) {
        if (!type.directory) throw std::runtime_error("type without ids");
        if (!type.name.empty()) throw std::runtime_error("named resource type");
        for (const Entry& id : entriesOf(in, root, type.offset)) {
            if (!id.directory) throw std::runtime_error("id without languages");
            for (const Entry& language : entriesOf(in, root, id.offset)) {
                if (language.directory) throw std::runtime_error("language with subdirectory");
                if (!language.name.empty()) throw std::runtime_error("named language");
                const std::size_t dataEntry = root + language.offset;
                const std::size_t at = image.fileOffsetOf(in.u32(dataEntry));
                const std::size_t size = in.u32(dataEntry + 4);
                in.need(at, size);
                resources.push_back({type.id, id.id, id.name, language.id,
                                     {exe.begin() + static_cast<std::ptrdiff_t>(at),
                                      exe.begin() + static_cast<std::ptrdiff_t>(at + size)}});
            }
        }
    }
    return resources;
}

std::u16string VersionBlock::text() const {
    std::u16string s;
    for (std::size_t i = 0; i + 1 < value.size(); i += 2) {
        const auto c = static_cast<char16_t>(value[i] | value[i + 1] << 8);
        if (c == 0) break;
        s.push_back(c);
    }
    return s;
}

const VersionBlock* VersionBlock::child(std::u16string_view childKey) const {
    for (const VersionBlock& c : children)
        if (c.key == childKey) return &c;
    return nullptr;
}

VersionBlock parseVersionResource(std::span<const std::uint8_t> data) {
    std::size_t end = 0;
    return parseBlock(ByteReader{data}, 0, end);
}

}  // namespace skl::test
