#pragma once
// The program's GNOME Shell extension (packaging/linux/gnome-shell-extension),
// reached over the session bus: in GNOME on Wayland only code inside the shell
// finds other programs' windows and reads their pixels. The extension answers the
// installed program alone, and only about windows titled "Webcam for ...".

#include <cstdint>
#include <string>

#include "capture/CaptureState.h"
#include "capture/Picture.h"
#include "capture/Text.h"

namespace skl {

inline constexpr const char* gnomeExtensionUuid = "skellimor@morvath.example";

class GnomeShellExtension {
public:
    enum class Outcome {
        Answered,
        Failed,   // the extension answered with an error, or not in time
        Missing,  // no extension answers on the bus (not installed, not enabled)
    };
    struct Reply {
        Outcome outcome = Outcome::Answered;
        Text failure;  // for Failed: why, in plain words
    };
    struct Window {
        std::uint64_t id = 0;  // 0: no window has the title
        ScreenRect frame;
        bool minimised = false;
    };

    // The first window titled exactly `title` (UTF-8), with its outer frame.
    Reply findWindow(const std::string& title, Window& found) const;
    // The pixels of `area` (screen pixels, inside the window's frame) as the shell
    // paints the window alone.
    Reply readPixels(std::uint64_t window, const ScreenRect& area, Picture& picture) const;
};

}  // namespace skl
