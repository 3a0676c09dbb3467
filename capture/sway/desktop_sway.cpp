#include "capture/sway/desktop_sway.h"

#include "capture/Text.h"
#include "capture/sway/ipc_sway.h"

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

GrabResult SwayScreenGrabber::grab(const ScreenRect& rect) {
    const auto reply = ipc_.request(SwayIpc::Message::GetOutputs);
    if (!reply) return {nullptr, L"sway did not tell where its outputs are (its IPC did not answer within 2 seconds)."};
    const std::int32_t width = rect.right - rect.left;
    const std::int32_t height = rect.bottom - rect.top;
    Picture picture{width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height)};
    for (const SwayOutput& output : swayOutputs(*reply)) {
        const auto part = intersection(rect, output.rect);
        if (!part) continue;
        const ScreenRect onOutput{part->left - output.rect.left, part->top - output.rect.top,
                                  part->right - output.rect.left, part->bottom - output.rect.top};
        WaylandScreenCopy::Copy copy = copier_.copy(output.name, onOutput);
        if (!copy.picture) return {nullptr, std::move(copy.failure)};
        for (std::int32_t y = 0; y < copy.picture->height; ++y) {
            const auto from = copy.picture->pixels.begin() + static_cast<std::ptrdiff_t>(y) * copy.picture->width;
            std::copy(from, from + copy.picture->width,
                      picture.pixels.begin() +
                          static_cast<std::ptrdiff_t>(part->top - rect.top + y) * width + (part->left - rect.left));
        }
    }
    return {std::make_unique<HeldPicture>(std::move(picture)), {}};
}

std::unique_ptr<GrabbedBitmap> SwayScreenGrabber::bitmapOf(Picture picture) {
    return std::make_unique<HeldPicture>(std::move(picture));
}

}  // namespace skl
