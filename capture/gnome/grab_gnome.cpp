#include "capture/gnome/desktop_gnome.h"

namespace skl {

GrabResult GnomeScreenGrabber::grabViewer(WindowHandle viewer, const ScreenRect& rect) {
    const std::optional<std::uint64_t> id = windows_.idOf(viewer);
    if (!id) return {nullptr, L"The webcam window is gone."};
    Picture picture;
    const GnomeShellExtension::Reply reply = extension_.readPixels(*id, rect, picture);
    if (reply.outcome == GnomeShellExtension::Outcome::Missing)
        return {nullptr, L"This program's GNOME Shell extension no longer answers; it may have been disabled."};
    if (reply.outcome == GnomeShellExtension::Outcome::Failed) return {nullptr, reply.failure};
    auto bitmap = screen_.bitmapOf(std::move(picture));
    if (!bitmap) return {nullptr, L"The picture could not be held in memory."};
    return {std::move(bitmap), {}};
}

}  // namespace skl
