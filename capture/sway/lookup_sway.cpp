#include "capture/Utf8.h"
#include "capture/sway/desktop_sway.h"
#include "capture/sway/tree_sway.h"

namespace skl {
namespace {

std::vector<SwayView> viewsOf(SwayIpc& ipc) {
    const auto tree = ipc.request(SwayIpc::Message::GetTree);
    return tree ? swayViews(*tree) : std::vector<SwayView>{};
}

}  // namespace

WindowHandle SwayWindowLookup::findWindow(const Text& title) {
    const auto wanted = encodeUtf8(title);
    if (!wanted) return 0;
    for (const SwayView& view : viewsOf(ipc_)) {
        // A container id beyond a handle's range cannot be named again: passed over.
        if (view.name == *wanted && view.id > 0 && view.id <= INT32_MAX) return static_cast<WindowHandle>(view.id);
    }
    return 0;
}

std::optional<ScreenPoint> SwayWindowLookup::restoredCorner(WindowHandle window) {
    for (const SwayView& view : viewsOf(ipc_)) {
        if (view.id == window) return ScreenPoint{view.frame.left, view.frame.top};
    }
    return std::nullopt;
}

}  // namespace skl
