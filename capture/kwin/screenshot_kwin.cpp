#include "capture/kwin/screenshot_kwin.h"

#include <QDBusArgument>
#include <QDBusPendingReply>
#include <QDBusUnixFileDescriptor>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include "capture/kwin/desktop_kwin.h"

namespace skl {
namespace {

const QString screenshotPath = QStringLiteral("/org/kde/KWin/ScreenShot2");
const QString screenshotInterface = QStringLiteral("org.kde.KWin.ScreenShot2");

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

}  // namespace

KWinScreenshot::KWinScreenshot(const QString& method, QVariantList arguments, const QVariantMap& options) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) return;
    readEnd_.emplace(ends[0]);
    // The message holds copies of the write end: every one is closed when the call
    // has gone, so that the pipe ends when KWin has written.
    FileDescriptor writeEnd(ends[1]);
    arguments << options << QVariant::fromValue(QDBusUnixFileDescriptor(writeEnd.get()));
    writeEnd.close();
    call_.emplace(callKWinLater(screenshotPath, screenshotInterface, method, arguments));
}

KWinPicture KWinScreenshot::finish() {
    if (!readEnd_ || !call_) return {{}, {}, {}, L"The program could not open a pipe for the picture."};
    call_->waitForFinished();
    const QDBusMessage reply = call_->reply();
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
    const double scale = results.value(QStringLiteral("scale"), 1.0).toDouble(&scaleOk);
    const RawImageLayout layout{number(results, "width"), number(results, "height"), number(results, "stride"),
                                number(results, "format"), scaleOk ? scale : 0.0};
    const std::optional<std::size_t> size = rawImageBytes(layout);
    if (!size) return {{}, {}, {}, L"KWin sent the picture in a pixel format or size the program cannot read."};
    std::vector<std::uint8_t> bytes = readBytes(readEnd_->get(), *size);
    if (bytes.size() != *size) return {{}, {}, {}, L"KWin did not send the whole picture within 2 seconds."};
    return {layout, std::move(bytes), {}, {}};
}

namespace {

std::unique_ptr<KWinScreenshot> windowPicture(const std::string& window) {
    return std::make_unique<KWinScreenshot>(QStringLiteral("CaptureWindow"),
                                            QVariantList{QString::fromStdString(window)},
                                            QVariantMap{{QStringLiteral("include-decoration"), false},
                                                        {QStringLiteral("include-cursor"), false},
                                                        {QStringLiteral("native-resolution"), false}});
}

}  // namespace

void KWinWindowCaptures::askAhead(const std::string& window) {
    // One asked for at an earlier click, and never taken, is of an earlier moment.
    dropAhead();
    if (refused_) return;
    ahead_ = windowPicture(window);
    aheadOf_ = window;
}

void KWinWindowCaptures::dropAhead() {
    // Not waited for (KWin never answers for a window minimised meanwhile): KWin
    // writing into the closed pipe gets an error, which it shrugs off.
    ahead_.reset();
    aheadOf_.clear();
}

KWinPicture KWinWindowCaptures::pictureOf(const std::string& window) {
    if (ahead_ && aheadOf_ == window) {
        const std::unique_ptr<KWinScreenshot> shot = std::move(ahead_);
        aheadOf_.clear();
        return shot->finish();
    }
    dropAhead();
    return windowPicture(window)->finish();
}

}  // namespace skl
