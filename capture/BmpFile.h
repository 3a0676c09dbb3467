#pragma once
// The Windows bitmap file format as the program writes it: 24 bits per pixel, no
// compression, a 54-byte header, rows bottom-up and padded to 4 bytes.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "Picture.h"

namespace skl {

// pixelsPerMetre goes into both resolution fields (3780 is 96 dots per inch).
std::vector<std::uint8_t> encodeBmp24(const Picture& picture, std::int32_t pixelsPerMetre = 3780);

// Reads back a 24-bit uncompressed BMP (bottom-up or top-down); empty when the
// bytes are not such a file.
std::optional<Picture> decodeBmp24(std::span<const std::uint8_t> bytes);

}  // namespace skl
