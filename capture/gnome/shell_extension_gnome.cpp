#include "capture/gnome/shell_extension_gnome.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusUnixFileDescriptor>
#include <QDeadlineTimer>
#include <QImage>

#include <algorithm>
#include <cerrno>

#include "capture/posix/descriptor_posix.h"

namespace skl {

namespace {

constexpr int callMilliseconds = 2000;
// The largest PNG taken from the pipe: far more than any camera picture takes.
constexpr quint32 largestPng = 64 * 1024 * 1024;

QDBusMessage callOf(const char* method) {
    return QDBusMessage::createMethodCall(QStringLiteral("example.morvath.skellimor.ShellExtension"),
                                          QStringLiteral("/example/morvath/skellimor/Viewers"),
                                          QStringLiteral("example.morvath.skellimor.Viewers"),
                                          QString::fromLatin1(method));
}

GnomeShellExtension::Reply errorOf(const QDBusMessage& reply) {
    const QString name = reply.errorName();
    if (name == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown") ||
        name == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner") ||
        name == QLatin1String("org.freedesktop.DBus.Error.UnknownObject") ||
        name == QLatin1String("org.freedesktop.DBus.Error.UnknownMethod") ||
        name == QLatin1String("org.freedesktop.DBus.Error.Disconnected")) {
        return {GnomeShellExtension::Outcome::Missing, {}};
    }
    const QString why = name == QLatin1String("org.freedesktop.DBus.Error.NoReply")
                            ? QStringLiteral("GNOME Shell did not answer within 2 seconds.")
                            : reply.errorMessage();
    return {GnomeShellExtension::Outcome::Failed, why.toStdWString()};
}

GnomeShellExtension::Reply failed(const wchar_t* why) { return {GnomeShellExtension::Outcome::Failed, why}; }

QDBusMessage call(const QDBusMessage& message) {
    return QDBusConnection::sessionBus().call(message, QDBus::Block, callMilliseconds);
}

// `length` bytes from the pipe, within the deadline. The length comes with the
// reply: a copy of the write end that Qt keeps a while must not hold up the read.
bool readExactly(int descriptor, qsizetype length, const QDeadlineTimer& deadline, QByteArray& bytes) {
    char chunk[65536];
    while (bytes.size() < length) {
        pollfd watched{descriptor, POLLIN, 0};
        const qint64 wait = deadline.remainingTime();
        if (wait == 0) return false;
        const int ready = ::poll(&watched, 1, static_cast<int>(wait));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return false;
        const auto wanted = std::min<qsizetype>(static_cast<qsizetype>(sizeof chunk), length - bytes.size());
        const ssize_t got = ::read(descriptor, chunk, static_cast<std::size_t>(wanted));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        bytes.append(chunk, got);
    }
    return true;
}

bool pictureOf(const QByteArray& png, const ScreenRect& area, Picture& picture) {
    const QImage image = QImage::fromData(png, "PNG").convertToFormat(QImage::Format_RGB32);
    if (image.width() != area.right - area.left || image.height() != area.bottom - area.top) return false;
    picture.width = image.width();
    picture.height = image.height();
    picture.pixels.resize(static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height));
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            picture.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width) +
                           static_cast<std::size_t>(x)] = row[x] & 0x00FFFFFFu;
    }
    return true;
}

}  // namespace

GnomeShellExtension::Reply GnomeShellExtension::findWindow(const std::string& title, Window& found) const {
    QDBusMessage message = callOf("FindWindow");
    message << QString::fromStdString(title);
    const QDBusMessage reply = call(message);
    if (reply.type() != QDBusMessage::ReplyMessage) return errorOf(reply);
    const QList<QVariant> values = reply.arguments();
    if (values.size() != 3 || reply.signature() != QLatin1String("t(iiii)b"))
        return failed(L"The GNOME Shell extension gave an answer this program does not know.");
    const auto frame = values[1].value<QDBusArgument>();
    int x = 0, y = 0, width = 0, height = 0;
    frame.beginStructure();
    frame >> x >> y >> width >> height;
    frame.endStructure();
    found = {values[0].toULongLong(), {x, y, x + width, y + height}, values[2].toBool()};
    return {};
}

GnomeShellExtension::Reply GnomeShellExtension::readPixels(std::uint64_t window, const ScreenRect& area,
                                                           Picture& picture) const {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) return failed(L"The program could not open a pipe for the picture.");
    FileDescriptor readEnd(ends[0]);
    const QDeadlineTimer deadline(callMilliseconds);
    quint32 length = 0;
    {
        // The message holds a copy of the write end: once both are gone only the
        // shell holds one, and the pipe ends when it has written the picture.
        FileDescriptor writeEnd(ends[1]);
        QDBusMessage message = callOf("ReadPixels");
        QDBusArgument rectangle;
        rectangle.beginStructure();
        rectangle << area.left << area.top << area.right - area.left << area.bottom - area.top;
        rectangle.endStructure();
        message << QVariant::fromValue(static_cast<qulonglong>(window)) << QVariant::fromValue(rectangle)
                << QVariant::fromValue(QDBusUnixFileDescriptor(writeEnd.get()));
        writeEnd.close();
        const QDBusMessage reply = call(message);
        if (reply.type() != QDBusMessage::ReplyMessage) return errorOf(reply);
        if (reply.signature() != QLatin1String("u"))
            return failed(L"The GNOME Shell extension gave an answer this program does not know.");
        length = reply.arguments().constFirst().toUInt();
    }
    if (length == 0 || length > largestPng)
        return failed(L"The GNOME Shell extension offered a picture of an impossible size.");
    QByteArray png;
    if (!readExactly(readEnd.get(), static_cast<qsizetype>(length), deadline, png))
        return failed(L"GNOME Shell did not hand over the picture within 2 seconds.");
    if (!pictureOf(png, area, picture))
        return failed(L"The picture GNOME Shell handed over is not one of the size asked for.");
    return {};
}

}  // namespace skl
