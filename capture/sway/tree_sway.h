#pragma once
// What the program reads of sway's IPC replies (JSON): the views in the layout
// tree and the outputs; and how a command names a container.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "capture/CaptureState.h"

namespace skl {

// A window of a program (a native Wayland one or an X11 one on XWayland).
struct SwayView {
    std::int64_t id = 0;  // the container's id, which commands name as con_id
    std::string name;     // the title, UTF-8
    std::int64_t pid = 0;
    std::optional<std::uint32_t> x11Window;  // for views on XWayland
    // The outer frame, title bar and borders included, in layout coordinates.
    ScreenRect frame;
    bool visible = false;
    bool inScratchpad = false;
};

// Every view in get_tree's reply; empty where it is not the tree.
std::vector<SwayView> swayViews(std::string_view tree);

struct SwayOutput {
    std::string name;
    ScreenRect rect;  // in layout coordinates
    double scale = 1.0;
};

// The active outputs in get_outputs' reply.
std::vector<SwayOutput> swayOutputs(std::string_view outputs);

// A command's criteria naming one container.
std::string swayConCriteria(std::int64_t id);

}  // namespace skl
