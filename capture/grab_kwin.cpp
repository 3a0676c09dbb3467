#include <QDBusArgument>
#include <QDBusUnixFileDescriptor>
#include <QElapsedTimer>
#include <QFileInfo>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "capture/bus_kwin.h"
#include "capture/descriptor_posix.h"
#include "capture/desktop_kwin.h"

namespace skl {
namespace {

const QString screenshotPath = QStringLiteral("/org/kde/KWin/ScreenShot2");
const QString screenshotInterface = QStringLiteral("org.kde.KWin.ScreenShot2");
const QString notAuthorized = QStringLiteral("org.kde.KWin.ScreenShot2.Error.NoAuthorized");
const QString invalidWindow = QStringLiteral("org.kde.KWin.ScreenShot2.Error.InvalidWindow");

const Text viewerGoneMessage = L"The webcam window closed before its picture could be copied.";

// A picture KWin sent, or why there is none.
struct Sent {
    RawImageLayout layout;
    std::vector<std::uint8_t> bytes;
    QString errorName;
    Text failure;
};

// Reads exactly `size` bytes, waiting at most kwinCallMilliseconds in all; fewer
// when the pipe ends early or the time is up.
std::vector<std::uint8_t> readBytes(int descriptor, std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    std::size_t done = 0;
    QElapsedTimer started;
    started.start();
    while (done < size) {
        const qint64 left = kwinCallMilliseconds - started.elapsed();
        if (left <= 0) break;
        pollfd ready{descriptor, POLLIN, 0};
        const int polled = ::poll(&ready, 1, static_cast<int>(left));
        if (polled < 0 && errno == EINTR) continue;
        if (polled <= 0) break;
        const ssize_t got = ::read(descriptor, bytes.data() + done, size - done);
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (got <= 0) break;
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    return bytes;
}

std::int64_t number(const QVariantMap& map, const char* key) {
    bool ok = false;
    const qint64 value = map.value(QLatin1String(key)).toLongLong(&ok);
    return ok ? value : -1;
}

// One screenshot call: the arguments before the pipe, the options, then the pipe's
// write end, through which KWin sends the picture after its reply.
Sent screenshot(const QString& method, QVariantList arguments, const QVariantMap& options) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) return {{}, {}, {}, L"The program could not open a pipe for the picture."};
    const FileDescriptor readEnd(ends[0]);
    QDBusMessage reply;
    {
        // The message holds copies of the write end: every one is closed when this
        // scope ends, so that the pipe ends when KWin has written.
        FileDescriptor writeEnd(ends[1]);
        arguments << options << QVariant::fromValue(QDBusUnixFileDescriptor(writeEnd.get()));
        writeEnd.close();
        reply = callKWin(screenshotPath, screenshotInterface, method, arguments);
        arguments.clear();
    }
    if (reply.type() != QDBusMessage::ReplyMessage) {
        const QString name = reply.errorName();
        if (name == QLatin1String("org.freedesktop.DBus.Error.NoReply") ||
            name == QLatin1String("org.freedesktop.DBus.Error.Timeout")) {
            return {{}, {}, name, L"KWin did not answer within 2 seconds."};
        }
        return {{}, {}, name, L"KWin did not copy the picture: " + reply.errorMessage().toStdWString()};
    }
    const QVariantMap results =
        reply.arguments().isEmpty() ? QVariantMap{} : qdbus_cast<QVariantMap>(reply.arguments().constFirst());
    if (results.value(QStringLiteral("type")).toString() != QLatin1String("raw")) {
        return {{}, {}, {}, L"KWin sent the picture in a form the program cannot read."};
    }
    bool scaleOk = false;
    double scale = results.value(QStringLiteral("scale"), 1.0).toDouble(&scaleOk);
    const RawImageLayout layout{number(results, "width"), number(results, "height"), number(results, "stride"),
                                number(results, "format"), scaleOk ? scale : 0.0};
    const std::optional<std::size_t> size = rawImageBytes(layout);
    if (!size) return {{}, {}, {}, L"KWin sent the picture in a pixel format or size the program cannot read."};
    std::vector<std::uint8_t> bytes = readBytes(readEnd.get(), *size);
    if (bytes.size() != *size) {
        return {{}, {}, {}, L"KWin did not send the whole picture within 2 seconds."};
    }
    return {layout, std::move(bytes), {}, {}};
}

// The rectangle (relative to the picture's corner) cut out of what KWin sent.
GrabResult cropped(const Sent& sent, const ScreenRect& rect, X11ScreenGrabber& holder) {
    std::optional<Picture> picture = cropRawImage(sent.layout, sent.bytes, rect);
    if (!picture) return {nullptr, L"KWin sent the picture in a pixel format or size the program cannot read."};
    return {holder.bitmapOf(std::move(*picture)), {}};
}

QString executablePath() {
    return QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
}

}  // namespace

KWinScreenGrabber::KWinScreenGrabber(const XcbConnection& x, const KWinWindowTable& table)
    : table_(table), x11_(x, X11ScreenGrabber::Reads::ViewersOwnWindow) {}

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
    const Sent sent = screenshot(QStringLiteral("CaptureArea"),
                                 {rect.left, rect.top, static_cast<uint>(width), static_cast<uint>(height)},
                                 {{QStringLiteral("native-resolution"), false}});
    if (!sent.failure.empty()) return {nullptr, sent.errorName == notAuthorized ? refusal() : sent.failure};
    return cropped(sent, {0, 0, static_cast<std::int32_t>(width), static_cast<std::int32_t>(height)}, x11_);
}

GrabResult KWinScreenGrabber::grabViewer(WindowHandle viewer, const ScreenRect& rect) {
    const KWinWindow* window = table_.find(viewer);
    if (window == nullptr) return {nullptr, viewerGoneMessage};
    // KWin draws no picture of a minimised window: asked for one, it never answers.
    if (window->minimised) {
        return {nullptr, L"The webcam window is minimised, and KWin does not draw a minimised window. Restore it "
                         L"and click again."};
    }
    // Once KWin has refused, an X11 viewer is read from its own X window at once.
    if (refused_ && window->x11Window != 0) return x11_.grabViewer(static_cast<WindowHandle>(window->x11Window), rect);
    const Sent sent = screenshot(QStringLiteral("CaptureWindow"), {QString::fromStdString(window->id)},
                                 {{QStringLiteral("include-decoration"), false},
                                  {QStringLiteral("include-cursor"), false},
                                  {QStringLiteral("native-resolution"), false}});
    if (sent.errorName == notAuthorized) {
        refused_ = true;
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
