#pragma once
// Where the main window's controls lie, in twips (1/1440 inch; 15 twips are one
// pixel at 96 dots per inch), from the top-left corner of their container.

#include <cstdint>

namespace skl::layout {

struct TwipsRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

inline constexpr std::uint32_t backgroundColour = 0x8080FF;  // 0xRRGGBB
inline constexpr std::uint32_t optionTextColour = 0xFFFFFF;

inline constexpr std::int32_t clientWidth = 5055;
inline constexpr std::int32_t clientHeight = 5655;
// The frame the window's outer heights are laid out for: from the outer top edge to
// the client area (the caption included), and below the client area.
inline constexpr std::int32_t frameTopTwips = 330;
inline constexpr std::int32_t frameBottomTwips = 45;

// In the window.
inline constexpr TwipsRect Picture1{0, 0, 480, 465};
inline constexpr TwipsRect Picture2{480, 0, 2160, 465};
inline constexpr TwipsRect pick{2715, 60, 915, 330};
inline constexpr TwipsRect newcam{3675, 60, 915, 330};
inline constexpr TwipsRect xit{4635, 60, 345, 330};
inline constexpr TwipsRect Option1_0{120, 480, 2415, 195};
inline constexpr TwipsRect Option1_1{120, 720, 2055, 195};
inline constexpr TwipsRect prev{2715, 480, 915, 330};
inline constexpr TwipsRect directions{3675, 480, 915, 330};
inline constexpr TwipsRect ontop{4635, 480, 345, 330};
inline constexpr TwipsRect lblFolder{120, 960, 4935, 255};
inline constexpr TwipsRect Frame1{120, 1275, 2655, 240};
inline constexpr TwipsRect Image1{120, 1560, 4860, 3660};
inline constexpr TwipsRect brellow{120, 5280, 4860, 270};

// In Picture2.
inline constexpr TwipsRect captureID{120, 120, 1935, 255};

// In Frame1; the second reaches past the frame's right edge and is clipped there.
inline constexpr TwipsRect optSize_0{0, 0, 1455, 240};
inline constexpr TwipsRect optSize_1{1440, 0, 1335, 240};

// Fonts, in hundredths of a point.
inline constexpr int fontSizeCentipoints = 825;

}  // namespace skl::layout
