#pragma once
// The fixed colours of the window's pictures, as 0x00RRGGBB.

#include <cstdint>

namespace skl::art::colour {

inline constexpr std::uint32_t ground = 0x8080FF;  // the window's background
inline constexpr std::uint32_t white = 0xFFFFFF;
inline constexpr std::uint32_t black = 0x000000;
inline constexpr std::uint32_t yellow = 0xFFFF00;
inline constexpr std::uint32_t red = 0xFF0000;
inline constexpr std::uint32_t lightGrey = 0xC0C0C0;
inline constexpr std::uint32_t blue = 0x0000FF;
inline constexpr std::uint32_t skyBlue = 0x0080FF;

// The maker's logo figure.
inline constexpr std::uint32_t logoViolet = 0x8482FC;
inline constexpr std::uint32_t logoGreen = 0x04FE84;
inline constexpr std::uint32_t logoBlue = 0x0482FC;
inline constexpr std::uint32_t logoDarkRed = 0x800200;

}  // namespace skl::art::colour
