#include "capture/sway/StepAside_sway.h"

#include <unistd.h>

#include "capture/sway/ipc_sway.h"

namespace skl {

std::optional<SwayView> SwayStepAsideWindow::ownView() {
    const auto tree = ipc_.request(SwayIpc::Message::GetTree);
    if (!tree) return std::nullopt;
    const auto window = static_cast<std::uint32_t>(x11_.window());
    for (SwayView& view : swayViews(*tree)) {
        // The process's dialogs are views of its own too.
        if (view.pid == getpid() && view.x11Window == window) return std::move(view);
    }
    return std::nullopt;
}

void SwayStepAsideWindow::run(const SwayView& view, const std::string& commands) {
    ipc_.request(SwayIpc::Message::RunCommand, swayConCriteria(view.id) + commands);
}

std::optional<ScreenRect> SwayStepAsideWindow::outerFrame() {
    const auto view = ownView();
    if (!view || !view->visible || view->inScratchpad) return std::nullopt;
    return view->frame;
}

void SwayStepAsideWindow::leave(Leaving) {
    // Either way at once: sway has no minimise, and no animation to keep out of the picture.
    if (const auto view = ownView()) run(*view, "move scratchpad");
}

bool SwayStepAsideWindow::hasLeft() {
    const auto view = ownView();
    return !view || !view->visible;
}

void SwayStepAsideWindow::comeBack(const std::optional<ScreenRect>& frame) {
    const auto view = ownView();
    if (!view) return;
    // Shown from the scratchpad, the window is focused and floats where sway puts
    // it: then moved to its frame's place, in layout coordinates.
    std::string commands = view->inScratchpad ? "scratchpad show" : "focus";
    if (frame) commands += ", move absolute position " + std::to_string(frame->left) + " " + std::to_string(frame->top);
    run(*view, commands);
}

bool SwayStepAsideWindow::isBack(const std::optional<ScreenRect>& frame) {
    const auto view = ownView();
    return view && view->visible && !view->inScratchpad && (!frame || view->frame == *frame);
}

}  // namespace skl
