#pragma once
// The Windows icon file format as the window's icon uses it: one 24-bit image whose
// 40-byte header counts the colour pixels and the AND mask together (height doubled).

#include <cstdint>
#include <vector>

#include "capture/Picture.h"

namespace skl::art {

inline constexpr std::size_t icoDirectorySize = 6 + 16;  // the file's header and its one entry

// An icon file with the picture as its only image and an all-zero (opaque) AND mask.
std::vector<std::uint8_t> encodeIco24(const Picture& picture);

}  // namespace skl::art
