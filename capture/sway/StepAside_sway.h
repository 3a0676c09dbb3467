#pragma once
// The main window getting out of the picture and back on sway. The window is an
// X11 window on XWayland, but sway has no minimise and places X11 windows itself:
// the window goes to the scratchpad and comes back from it to its frame's place,
// through the compositor's IPC, and its state is read from the layout tree, where
// it is the view of this process with the window's X11 id.

#include <optional>

#include "capture/Ports.h"
#include "capture/sway/ipc_sway.h"
#include "capture/x11/StepAside_x11.h"

namespace skl {

struct SwayView;

class SwayStepAsideWindow final : public StepAsideWindow {
public:
    // x11: the window as the X server knows it, which tells the window's X11 id.
    SwayStepAsideWindow(SwayIpc& ipc, const X11StepAsideWindow& x11) : ipc_(ipc), x11_(x11) {}

    std::optional<ScreenRect> outerFrame() override;
    // sway composes the screen but draws no shadow and fades nothing: the window is
    // gone from the next frame it draws without it.
    bool composited() override { return false; }
    void leave(Leaving how) override;
    bool hasLeft() override;
    bool awaitComposedFrame() override { return false; }
    void comeBack(const std::optional<ScreenRect>& frame) override;
    bool isBack(const std::optional<ScreenRect>& frame) override;

private:
    std::optional<SwayView> ownView();
    void run(const SwayView& view, const std::string& commands);

    SwayIpc& ipc_;
    const X11StepAsideWindow& x11_;
};

}  // namespace skl
