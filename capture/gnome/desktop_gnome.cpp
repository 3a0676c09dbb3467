#include "capture/gnome/desktop_gnome.h"

#include <algorithm>
#include <limits>

#include "capture/Snapshot.h"
#include "capture/Text.h"

namespace skl {

Text gnomeExtensionRefusalAdvice(const Text& refusal) {
    return L"GNOME on Wayland lets programs see only the windows of X11 programs (such as a messenger running under "
           L"Wine), so the webcam window may be open and still not found.\n\n"
           L"This program's GNOME Shell extension, which finds every webcam window, refused it: " +
           refusal +
           L"\n\nIt serves the installed program alone: start it as morvaths-skellimor from its Debian package.";
}

GnomeShellExtension::Window GnomeWindowLookup::lookUp() {
    GnomeShellExtension::Window found;
    const GnomeShellExtension::Reply reply = extension_.findWindow(title_, found);
    switch (reply.outcome) {
        case GnomeShellExtension::Outcome::Answered: advice_.clear(); return found;
        case GnomeShellExtension::Outcome::Missing: advice_ = gnomeExtensionAdvice; return {};
        case GnomeShellExtension::Outcome::Failed: advice_ = gnomeExtensionRefusalAdvice(reply.failure); return {};
    }
    return {};
}

bool GnomeWindowLookup::probe() {
    title_ = *encodeUtf8(texts::viewerTitlePrefix);
    lookUp();
    return advice_.empty();
}

WindowHandle GnomeWindowLookup::findWindow(const Text& title) {
    const std::optional<std::string> utf8 = encodeUtf8(title);
    if (!utf8) return 0;
    title_ = *utf8;
    const std::uint64_t id = lookUp().id;
    return id == 0 ? 0 : handleOf(id);
}

WindowHandle GnomeWindowLookup::handleOf(std::uint64_t id) {
    const auto known = std::find(ids_.begin(), ids_.end(), id);
    if (known != ids_.end()) return static_cast<WindowHandle>(known - ids_.begin() + 1);
    // Each viewer window of the shell's life takes one; a session's worth never nears the limit.
    if (ids_.size() >= static_cast<std::size_t>(std::numeric_limits<WindowHandle>::max())) return 0;
    ids_.push_back(id);
    return static_cast<WindowHandle>(ids_.size());
}

std::optional<std::uint64_t> GnomeWindowLookup::idOf(WindowHandle window) const {
    if (window <= 0 || static_cast<std::size_t>(window) > ids_.size()) return std::nullopt;
    return ids_[static_cast<std::size_t>(window) - 1];
}

std::optional<ScreenPoint> GnomeWindowLookup::restoredCorner(WindowHandle window) {
    // The extension finds windows by title: the one found must still be the first so titled.
    const std::optional<std::uint64_t> id = idOf(window);
    if (!id) return std::nullopt;
    const GnomeShellExtension::Window found = lookUp();
    if (found.id != *id) return std::nullopt;
    return ScreenPoint{found.frame.left, found.frame.top};
}

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
