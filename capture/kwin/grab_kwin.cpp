#include <QFileInfo>

#include "capture/kwin/desktop_kwin.h"
#include "capture/kwin/screenshot_kwin.h"

namespace skl {
namespace {

const QString notAuthorized = QStringLiteral("org.kde.KWin.ScreenShot2.Error.NoAuthorized");
const QString invalidWindow = QStringLiteral("org.kde.KWin.ScreenShot2.Error.InvalidWindow");

const Text viewerGoneMessage = L"The webcam window closed before its picture could be copied.";

// The rectangle (relative to the picture's corner) cut out of what KWin sent.
GrabResult cropped(const KWinPicture& sent, const ScreenRect& rect, X11ScreenGrabber& holder) {
    std::optional<Picture> picture = cropRawImage(sent.layout, sent.bytes, rect);
    if (!picture) return {nullptr, L"KWin sent the picture in a pixel format or size the program cannot read."};
    return {holder.bitmapOf(std::move(*picture)), {}};
}

QString executablePath() {
    return QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
}

}  // namespace

KWinScreenGrabber::KWinScreenGrabber(const XcbConnection& x, const KWinWindowTable& table,
                                     KWinWindowCaptures& captures)
    : table_(table), captures_(captures), x11_(x, X11ScreenGrabber::Reads::ViewersOwnWindow) {}

Text KWinScreenGrabber::refusal() {
    if (std::exchange(refusalExplained_, true)) {
        return L"KWin lets only the installed program copy windows (see the first message about it).";
    }
    return L"KWin gives pictures of windows only to programs installed with a desktop entry that asks for them, "
           L"and this copy of the program (" +
           executablePath().toStdWString() +
           L") is not the installed one, so KWin refused. Programs running under X11 (XWayland) can still be "
           L"copied.\n\n"
           L"To copy every window, install the program's package (sudo apt install "
           L"./morvaths-skellimor_1.0-1_amd64.deb) and start /usr/bin/morvaths-skellimor. Or give this copy a "
           L"desktop entry in ~/.local/share/applications whose Exec= line is its whole absolute path and which "
           L"holds the line X-KDE-DBUS-Restricted-Interfaces=org.kde.KWin.ScreenShot2, then log in again so that "
           L"KWin reads it.";
}

GrabResult KWinScreenGrabber::grab(const ScreenRect& rect) {
    const std::int64_t width = std::int64_t{rect.right} - rect.left;
    const std::int64_t height = std::int64_t{rect.bottom} - rect.top;
    if (width <= 0 || height <= 0) return {nullptr, L"The rectangle to copy is empty."};
    const KWinPicture sent = KWinScreenshot(QStringLiteral("CaptureArea"),
                                            {rect.left, rect.top, static_cast<uint>(width), static_cast<uint>(height)},
                                            {{QStringLiteral("native-resolution"), false}})
                                 .finish();
    if (!sent.failure.empty()) return {nullptr, sent.errorName == notAuthorized ? refusal() : sent.failure};
    return cropped(sent, {0, 0, static_cast<std::int32_t>(width), static_cast<std::int32_t>(height)}, x11_);
}

GrabResult KWinScreenGrabber::grabViewer(WindowHandle viewer, const ScreenRect& rect) {
    const KWinWindow* window = table_.find(viewer);
    if (window == nullptr) return {nullptr, viewerGoneMessage};
    // KWin draws no picture of a minimised window: asked for one, it never answers.
    if (window->minimised) {
        captures_.dropAhead();
        return {nullptr, L"The webcam window is minimised, and KWin does not draw a minimised window. Restore it "
                         L"and click again."};
    }
    // Once KWin has refused, an X11 viewer is read from its own X window at once.
    if (captures_.refused() && window->x11Window != 0) {
        return x11_.grabViewer(static_cast<WindowHandle>(window->x11Window), rect);
    }
    KWinPicture sent = captures_.pictureOf(window->id);
    // A picture asked for ahead may show the window before it changed its size or
    // frame: once more, then.
    if (sent.failure.empty() && !window->geometry.isClientPicture(sent.layout)) sent = captures_.pictureOf(window->id);
    if (sent.errorName == notAuthorized) {
        captures_.noteRefusal();
        if (window->x11Window != 0) return x11_.grabViewer(static_cast<WindowHandle>(window->x11Window), rect);
        return {nullptr, refusal()};
    }
    if (sent.errorName == invalidWindow) return {nullptr, viewerGoneMessage};
    if (!sent.failure.empty()) return {nullptr, sent.failure};
    if (!window->geometry.isClientPicture(sent.layout)) {
        return {nullptr, L"KWin sent a picture of the webcam window of another size than the window, so where the "
                         L"camera lies in it cannot be told."};
    }
    return cropped(sent, window->geometry.inClientPicture(rect), x11_);
}

}  // namespace skl
