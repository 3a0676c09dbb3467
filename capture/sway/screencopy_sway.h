#pragma once
// Copies of the compositor's outputs through the wlroots screen-copy protocol, on
// a Wayland connection of the program's own ($WAYLAND_DISPLAY), in process: the
// pixels come through memory shared with the compositor. Every exchange with the
// compositor is bounded by 2 s; a connection that failed is opened anew next time.

#include <memory>
#include <optional>
#include <string>

#include "capture/CaptureState.h"
#include "capture/Picture.h"
#include "capture/Text.h"

namespace skl {

class WaylandScreenCopy {
public:
    static constexpr int timeoutMilliseconds = 2000;

    WaylandScreenCopy();
    ~WaylandScreenCopy();
    WaylandScreenCopy(const WaylandScreenCopy&) = delete;
    WaylandScreenCopy& operator=(const WaylandScreenCopy&) = delete;

    struct Copy {
        std::optional<Picture> picture;
        Text failure;  // why there is no picture, in plain words
    };
    // The region, in the output's own logical coordinates, of the output of this
    // name (or the only one, where the compositor names none), at the region's
    // size: an output drawn at a larger scale is brought down to it.
    Copy copy(const std::string& output, const ScreenRect& region);

private:
    struct Connection;
    std::unique_ptr<Connection> connection_;
};

}  // namespace skl
