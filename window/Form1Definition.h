#pragma once
// Form1, the main window, as one table: the window's settings and every one of its
// controls with its kind, container, place, caption, font, colours, tab position,
// option group, picture and the Form1 handlers its events run. Each window toolkit
// creates a control of the row's kind at the row's place and routes its events to
// the row's handlers; no control is described anywhere else.
//
// Places are in twips (1/1440 inch; 15 twips are one pixel at 96 dots per inch),
// from the top-left corner of the control's container.

#include <array>
#include <cstdint>
#include <optional>

#include "capture/Snapshot.h"
#include "window/Form1.h"

namespace skl {

struct TwipsRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

struct PixelSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool operator==(const PixelSize&) const = default;
};

namespace layout {

inline constexpr std::uint32_t backgroundColour = 0x8080FF;  // 0xRRGGBB
inline constexpr std::uint32_t optionTextColour = 0xFFFFFF;

inline constexpr std::int32_t clientWidth = 5055;
inline constexpr std::int32_t clientHeight = 5655;
// The frame the window's outer heights are laid out for: from the outer top edge to
// the client area (the caption included), and below the client area.
inline constexpr std::int32_t frameTopTwips = 330;
inline constexpr std::int32_t frameBottomTwips = 45;

// Every font is 8.25 point, in hundredths of a point.
inline constexpr int fontSizeCentipoints = 825;

}  // namespace layout

// In the order in which the window definition holds them.
enum class Control : std::uint8_t {
    Frame1, optSize0, optSize1, directions1, directions0, Option1_1, Option1_0, Picture2, captureID, Picture1,
    brellow, ontop1, ontop0, xit, prev1, prev0, pick1, pick0, newcam1, newcam0, lblFolder, Image1
};
inline constexpr std::size_t controlCount = 22;

// Picture boxes are windows of their own, above the window's drawn images; an
// image is painted by the window itself.
enum class ControlKind : std::uint8_t { Frame, OptionButton, PictureBox, Label, Image };

// The picture button pairs: index 0 and 1 on the same spot, one visible at a time.
enum class Pair : std::uint8_t { directions, newcam, pick, prev, ontop };

// Option buttons form one group per container: selecting one clears the others.
enum class OptionGroup : std::uint8_t { none, Option1, optSize };

// The window's font, its bold form, and a fixed-pitch font; all 8.25 point.
enum class Font : std::uint8_t { window, bold, fixed };

enum class Colours : std::uint8_t {
    none,            // an image: its picture covers it
    ground,          // the window's ground colour
    whiteOnGround,   // white text on the window's ground colour
    whiteOnNothing,  // white text, no ground drawn
    system,          // the system's window text on its window colour
};

// A handler of Form1 that a control's event runs.
using Handler = void (Form1::*)();

struct ControlDefinition {
    Control control{};
    ControlKind kind{};
    std::optional<Control> in{};  // the control it lies in; none: the window itself
    TwipsRect place{};
    std::optional<Pair> pair{};
    OptionGroup group = OptionGroup::none;
    std::int16_t index = 0;  // the element of a pair or group
    const wchar_t* caption = nullptr;
    Font font = Font::window;
    Colours colours = Colours::none;
    bool flat = false;  // an option button's circle drawn flat rather than in 3-D
    std::int8_t tab = -1;  // position in the keyboard's tab order; -1: none
    const char* picture = nullptr;  // its picture file in assets/, without ".bmp"
    PixelSize pictureSize{};  // a picture control is exactly as large as its picture
    bool visibleAtStart = true;
    bool selectedAtStart = false;
    bool enabled = true;
    // A picture button of a pair shows its pressed look when pressed (mouseDown) and
    // runs its command when released (mouseUp). Every other control that takes input
    // runs click: a picture when the left button is released over it after a press
    // on it, an option button when it is selected.
    Handler click = nullptr;
    Handler mouseDown = nullptr;
    Handler mouseUp = nullptr;

    // It handles the mouse (and the keyboard where it has a tab position).
    bool takesInput() const { return click != nullptr || mouseDown != nullptr; }
};

inline constexpr std::array<ControlDefinition, controlCount> form1Controls{{
    {.control = Control::Frame1, .kind = ControlKind::Frame, .place = {120, 1275, 2655, 240},
     .colours = Colours::ground, .tab = 8},
    {.control = Control::optSize0, .kind = ControlKind::OptionButton, .in = Control::Frame1,
     .place = {0, 0, 1455, 240}, .group = OptionGroup::optSize, .index = 0, .caption = L"Regular Size",
     .font = Font::bold, .colours = Colours::whiteOnGround, .tab = 10, .selectedAtStart = true,
     .click = &Form1::optSize_Click},
    // Reaches past the frame's right edge and is clipped there.
    {.control = Control::optSize1, .kind = ControlKind::OptionButton, .in = Control::Frame1,
     .place = {1440, 0, 1335, 240}, .group = OptionGroup::optSize, .index = 1, .caption = L"Small Size",
     .font = Font::bold, .colours = Colours::whiteOnGround, .tab = 9, .click = &Form1::optSize_Click},
    {.control = Control::directions1, .kind = ControlKind::PictureBox, .place = {3675, 480, 915, 330},
     .pair = Pair::directions, .index = 1, .colours = Colours::system, .tab = 7, .picture = "directions1",
     .pictureSize = {61, 22}, .visibleAtStart = false,
     .mouseDown = &Form1::directions_MouseDown, .mouseUp = &Form1::directions_MouseUp},
    {.control = Control::directions0, .kind = ControlKind::PictureBox, .place = {3675, 480, 915, 330},
     .pair = Pair::directions, .index = 0, .colours = Colours::system, .tab = 6, .picture = "directions0",
     .pictureSize = {61, 22}, .mouseDown = &Form1::directions_MouseDown, .mouseUp = &Form1::directions_MouseUp},
    {.control = Control::Option1_1, .kind = ControlKind::OptionButton, .place = {120, 720, 2055, 195},
     .group = OptionGroup::Option1, .index = 1, .caption = L"Set For: NT/2000/XP", .colours = Colours::whiteOnGround,
     .flat = true, .tab = 5, .click = &Form1::Option1_Click},
    {.control = Control::Option1_0, .kind = ControlKind::OptionButton, .place = {120, 480, 2415, 195},
     .group = OptionGroup::Option1, .index = 0, .caption = L"Set For: 95/98/98SE/ME",
     .colours = Colours::whiteOnGround, .flat = true, .tab = 4, .click = &Form1::Option1_Click},
    {.control = Control::Picture2, .kind = ControlKind::PictureBox, .place = {480, 0, 2160, 465},
     .colours = Colours::system, .tab = 1, .picture = "Picture2", .pictureSize = {144, 31}, .enabled = false},
    {.control = Control::captureID, .kind = ControlKind::Label, .in = Control::Picture2,
     .place = {120, 120, 1935, 255}, .caption = texts::askWho, .colours = Colours::system, .tab = 2},
    {.control = Control::Picture1, .kind = ControlKind::PictureBox, .place = {0, 0, 480, 465},
     .colours = Colours::system, .tab = 0, .picture = "Picture1", .pictureSize = {32, 31},
     .click = &Form1::Picture1_Click},
    {.control = Control::brellow, .kind = ControlKind::Image, .place = {120, 5280, 4860, 270}, .picture = "brellow",
     .pictureSize = {324, 18}, .click = &Form1::brellow_Click},
    {.control = Control::ontop1, .kind = ControlKind::Image, .place = {4635, 480, 345, 330}, .pair = Pair::ontop,
     .index = 1, .picture = "ontop1", .pictureSize = {23, 22}, .visibleAtStart = false, .click = &Form1::ontop_Click},
    {.control = Control::ontop0, .kind = ControlKind::Image, .place = {4635, 480, 345, 330}, .pair = Pair::ontop,
     .index = 0, .picture = "ontop0", .pictureSize = {23, 22}, .click = &Form1::ontop_Click},
    {.control = Control::xit, .kind = ControlKind::Image, .place = {4635, 60, 345, 330}, .picture = "xit",
     .pictureSize = {23, 22}, .click = &Form1::xit_Click},
    {.control = Control::prev1, .kind = ControlKind::Image, .place = {2715, 480, 915, 330}, .pair = Pair::prev,
     .index = 1, .picture = "prev1", .pictureSize = {61, 22}, .visibleAtStart = false,
     .mouseDown = &Form1::prev_MouseDown, .mouseUp = &Form1::prev_MouseUp},
    {.control = Control::prev0, .kind = ControlKind::Image, .place = {2715, 480, 915, 330}, .pair = Pair::prev,
     .index = 0, .picture = "prev0", .pictureSize = {61, 22},
     .mouseDown = &Form1::prev_MouseDown, .mouseUp = &Form1::prev_MouseUp},
    {.control = Control::pick1, .kind = ControlKind::Image, .place = {2715, 60, 915, 330}, .pair = Pair::pick,
     .index = 1, .picture = "pick1", .pictureSize = {61, 22}, .visibleAtStart = false,
     .mouseDown = &Form1::pick_MouseDown, .mouseUp = &Form1::pick_MouseUp},
    {.control = Control::pick0, .kind = ControlKind::Image, .place = {2715, 60, 915, 330}, .pair = Pair::pick,
     .index = 0, .picture = "pick0", .pictureSize = {61, 22},
     .mouseDown = &Form1::pick_MouseDown, .mouseUp = &Form1::pick_MouseUp},
    {.control = Control::newcam1, .kind = ControlKind::Image, .place = {3675, 60, 915, 330}, .pair = Pair::newcam,
     .index = 1, .picture = "newcam1", .pictureSize = {61, 22}, .visibleAtStart = false,
     .mouseDown = &Form1::newcam_MouseDown, .mouseUp = &Form1::newcam_MouseUp},
    {.control = Control::newcam0, .kind = ControlKind::Image, .place = {3675, 60, 915, 330}, .pair = Pair::newcam,
     .index = 0, .picture = "newcam0", .pictureSize = {61, 22},
     .mouseDown = &Form1::newcam_MouseDown, .mouseUp = &Form1::newcam_MouseUp},
    {.control = Control::lblFolder, .kind = ControlKind::Label, .place = {120, 960, 4935, 255}, .caption = L"Save To:",
     .font = Font::fixed, .colours = Colours::whiteOnNothing, .tab = 3},
    // The preview: a one-pixel border around a picture it never stretches, the
    // start-up splash until the first snapshot.
    {.control = Control::Image1, .kind = ControlKind::Image, .place = {120, 1560, 4860, 3660}, .picture = "Image1",
     .pictureSize = {322, 242}},
}};

namespace definition_checks {

constexpr bool rowsAreInControlOrder() {
    for (std::size_t i = 0; i < controlCount; ++i) {
        if (static_cast<std::size_t>(form1Controls[i].control) != i) return false;
    }
    return true;
}

constexpr std::size_t countTabStops() {
    std::size_t count = 0;
    for (const ControlDefinition& definition : form1Controls) count += definition.tab >= 0 ? 1 : 0;
    return count;
}

// Every tab position from 0 to the number of controls with one is taken exactly once.
constexpr bool tabPositionsAreDense() {
    for (std::size_t position = 0; position < countTabStops(); ++position) {
        std::size_t holders = 0;
        for (const ControlDefinition& definition : form1Controls) {
            holders += definition.tab == static_cast<int>(position) ? 1 : 0;
        }
        if (holders != 1) return false;
    }
    return true;
}

// The element of the same pair with the other index: exactly one, of the same kind,
// at the same place and size. (Addresses, handlers' among them, cannot be compared
// here in every build: the unit tests check that both run the same handlers.)
constexpr bool pairsAreWhole() {
    for (const ControlDefinition& one : form1Controls) {
        if (!one.pair) continue;
        if (one.index != 0 && one.index != 1) return false;
        std::size_t others = 0;
        for (const ControlDefinition& other : form1Controls) {
            if (other.pair != one.pair || other.index == one.index) continue;
            ++others;
            const bool same = other.kind == one.kind && other.in == one.in && other.place.left == one.place.left &&
                              other.place.top == one.place.top && other.place.width == one.place.width &&
                              other.place.height == one.place.height && other.pictureSize == one.pictureSize;
            if (!same) return false;
        }
        if (others != 1) return false;
    }
    return true;
}

// Option buttons and groups go together; a group's buttons lie in one container,
// are numbered from 0 without gaps and start with at most one selected.
constexpr bool optionGroupsAreWhole() {
    for (const ControlDefinition& one : form1Controls) {
        if ((one.kind == ControlKind::OptionButton) != (one.group != OptionGroup::none)) return false;
        if (one.group == OptionGroup::none) continue;
        std::size_t members = 0, selected = 0;
        for (const ControlDefinition& other : form1Controls) {
            if (other.group != one.group) continue;
            ++members;
            selected += other.selectedAtStart ? 1 : 0;
            if (other.in != one.in) return false;
            if (other.index == one.index && other.control != one.control) return false;
        }
        if (one.index < 0 || static_cast<std::size_t>(one.index) >= members || selected > 1) return false;
    }
    return true;
}

// A container is made before what it holds (toolkits create in tab order), and is
// a frame or a picture box.
constexpr bool containersComeFirst() {
    for (const ControlDefinition& definition : form1Controls) {
        if (!definition.in) continue;
        const ControlDefinition& container = form1Controls[static_cast<std::size_t>(*definition.in)];
        if (container.kind != ControlKind::Frame && container.kind != ControlKind::PictureBox) return false;
        if (container.tab < 0 || (definition.tab >= 0 && definition.tab <= container.tab)) return false;
    }
    return true;
}

}  // namespace definition_checks

static_assert(definition_checks::rowsAreInControlOrder(), "row i of form1Controls is control i");
static_assert(definition_checks::tabPositionsAreDense(), "tab positions run from 0 without gaps or repeats");
static_assert(definition_checks::pairsAreWhole(), "each pair has its index 0 and 1 at one place and size");
static_assert(definition_checks::optionGroupsAreWhole(), "option groups are whole");
static_assert(definition_checks::containersComeFirst(), "containers are made before their controls");

inline constexpr const ControlDefinition& definitionOf(Control control) {
    return form1Controls[static_cast<std::size_t>(control)];
}

// The controls with a tab position, in tab order: each toolkit creates its windowed
// controls in this order, which is the order the keyboard visits them.
inline constexpr auto tabOrder = [] {
    std::array<Control, definition_checks::countTabStops()> order{};
    for (const ControlDefinition& definition : form1Controls) {
        if (definition.tab >= 0) order.at(static_cast<std::size_t>(definition.tab)) = definition.control;
    }
    return order;
}();

}  // namespace skl
