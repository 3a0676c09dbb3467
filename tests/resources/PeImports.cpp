#include "PeImports.h"

#include "PeImage.h"

namespace skl::test {

std::vector<PeImport> readPeImports(std::span<const std::uint8_t> exe) {
    const PeImage image(exe);
    const ByteReader& in = image.reader();
    const std::uint32_t tableRva = image.directory(importDirectory).rva;
    if (tableRva == 0) return {};

    const bool wide = image.headers().pe32Plus;
    const std::size_t thunkSize = wide ? 8 : 4;
    const std::uint64_t byOrdinal = wide ? std::uint64_t{1} << 63 : std::uint64_t{1} << 31;
    std::vector<PeImport> imports;
    // One 20-byte descriptor per DLL, up to one of zeros: the lookup table's and
    // name's addresses at 0 and 12, the address table's at 16.
    for (std::size_t descriptor = image.fileOffsetOf(tableRva);; descriptor += 20) {
        const std::uint32_t lookupRva = in.u32(descriptor);
        const std::uint32_t nameRva = in.u32(descriptor + 12);
        const std::uint32_t addressRva = in.u32(descriptor + 16);
        if (nameRva == 0 && lookupRva == 0 && addressRva == 0) break;
        const std::string dll = in.cString(image.fileOffsetOf(nameRva));
        // Until bound, the address table holds the same entries as the lookup table.
        const std::size_t thunks = image.fileOffsetOf(lookupRva != 0 ? lookupRva : addressRva);
        for (std::size_t at = thunks;; at += thunkSize) {
            const std::uint64_t thunk = wide ? in.u64(at) : in.u32(at);
            if (thunk == 0) break;
            if (thunk & byOrdinal) {
                imports.push_back({dll, {}, static_cast<std::uint32_t>(thunk & 0xFFFF)});
            } else {
                // A hint of two bytes, then the name.
                const auto hintRva = static_cast<std::uint32_t>(thunk);
                imports.push_back({dll, in.cString(image.fileOffsetOf(hintRva + 2)), 0});
            }
        }
    }
    return imports;
}

}  // namespace skl::test
