#pragma once
// The main window getting out of the picture and back on sway. The window is an
// X11 window on XWayland, but sway has no minimise and places X11 windows itself:
// the window goes to the scratchpad and comes back from it to its frame's place,
// through the compositor's IPC, and its state is read from the layout tree, where
// it is the view of this process with the window's X11 id.

#include <optional>

#include "capture/StepAside.h"
#include "capture/sway/ipc_sway.h"
#include "capture/x11/StepAside_x11.h"

namespace skl {

struct SwayView;

class SwayStepAsideWindow final : public StepAsideWindow {
public:
    // x11: the window as the X server knows it, which tells the window's X11 id.
    SwayStepAsideWindow(SwayIpc& ipc, const X11StepAsideWindow& x11) : ipc_(ipc), x11_(x11) {}

    // sway composes the screen but draws no shadow and fades nothing: the window is
    // gone from the next frame it draws without it. Nor does it keep a window above
    // the others, so none is.
    StepAsideStart observe() override { return {outerFrame(), false, false}; }
    std::optional<ScreenRect> outerFrame() override;
    void leave(Leaving how, const StepAsideStart& start) override;
    bool hasLeft() override;
    bool awaitComposedFrame() override { return false; }
    void comeBack(const StepAsideStart& start) override;
    bool isBack(const StepAsideStart& start) override;

private:
    std::optional<SwayView> ownView();
    void run(const SwayView& view, const std::string& commands);

    SwayIpc& ipc_;
    const X11StepAsideWindow& x11_;
};

}  // namespace skl
