#pragma once
// Keeping the main window above the others through the window manager
// (_NET_WM_STATE_ABOVE), without re-creating, hiding or moving it. The state is
// asked for only once the window manager manages the window: some keep a state
// set before the window was first mapped and ignore its removal later.

#include <optional>

#include "capture/x11/xcb_x11.h"
#include "services/alwaysontop.h"

namespace skl {

class X11TopmostBand final : public TopmostBand {
public:
    explicit X11TopmostBand(const XcbConnection& connection) : x_(connection) {}
    void setTopmost(WindowHandle window, bool topmost) override;
    // The window now shows, managed by the window manager: what was asked for
    // before is asked for now.
    void windowShown(WindowHandle window);

private:
    const XcbConnection& x_;
    bool shown_ = false;
    std::optional<bool> pending_;
};

}  // namespace skl
