#include "capture/kwin/desktop_kwin.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>

#include "capture/Text.h"
#include "capture/kwin/screenshot_kwin.h"
#include "capture/kwin/windowlist_kwin.h"

namespace skl {
namespace {

// KWin places windows within a few screens' reach; what lies beyond is not believed.
constexpr double farthestCoordinate = 1 << 20;

std::optional<ScreenPoint> pointOf(const QJsonValue& value) {
    const QJsonArray pair = value.toArray();
    if (pair.size() != 2 || !pair[0].isDouble() || !pair[1].isDouble()) return std::nullopt;
    const double x = std::round(pair[0].toDouble());
    const double y = std::round(pair[1].toDouble());
    if (std::abs(x) > farthestCoordinate || std::abs(y) > farthestCoordinate) return std::nullopt;
    return ScreenPoint{static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)};
}

// The X client window's corner on the screen and its size; nothing when it is gone.
std::optional<std::pair<ScreenPoint, ScreenPoint>> x11Client(const XcbConnection& x, std::uint32_t window) {
    if (!x.connected()) return std::nullopt;
    const auto cornerCookie = xcb_translate_coordinates(x.get(), window, x.root(), 0, 0);
    const auto geometryCookie = xcb_get_geometry(x.get(), window);
    const auto corner = replyTo<xcb_translate_coordinates_reply>(x.get(), cornerCookie);
    const auto geometry = replyTo<xcb_get_geometry_reply>(x.get(), geometryCookie);
    if (!corner || !geometry) return std::nullopt;
    return std::pair{ScreenPoint{corner->dst_x, corner->dst_y}, ScreenPoint{geometry->width, geometry->height}};
}

}  // namespace

WindowHandle KWinWindowTable::remember(KWinWindow window) {
    if (windows_.size() == kept) windows_.pop_front();
    const WindowHandle handle = next_;
    // Handles run up to the largest and start again: a run would have to look up
    // two thousand million windows first.
    next_ = next_ == INT32_MAX ? 1 : next_ + 1;
    windows_.emplace_back(handle, std::move(window));
    return handle;
}

const KWinWindow* KWinWindowTable::find(WindowHandle handle) const {
    const auto found =
        std::find_if(windows_.begin(), windows_.end(), [handle](const auto& entry) { return entry.first == handle; });
    return found == windows_.end() ? nullptr : &found->second;
}

KWinWindowLookup::KWinWindowLookup(const XcbConnection& x, KWinWindowTable& table, KWinWindowCaptures& captures)
    : x_(x), table_(table), captures_(captures), list_(std::make_unique<KWinWindowList>()) {}

KWinWindowLookup::~KWinWindowLookup() = default;

WindowHandle KWinWindowLookup::findWindow(const Text& title) {
    const std::optional<std::string> wanted = encodeUtf8(title);
    if (!wanted) return 0;
    // KWin takes its picture at its next frame: asked for now, it is on its way
    // while KWin lists the windows.
    if (*wanted == lastTitle_ && !lastFound_.empty()) captures_.askAhead(lastFound_);
    lastTitle_ = *wanted;
    lastFound_.clear();
    const std::optional<QByteArray> listed = list_->read();
    if (!listed) {
        captures_.dropAhead();
        return 0;
    }
    const QString caption = QString::fromStdString(*wanted);
    for (const QJsonValue& entry : QJsonDocument::fromJson(*listed).array()) {
        const QJsonObject window = entry.toObject();
        if (window.value(QLatin1String("caption")).toString() != caption) continue;
        const auto frame = pointOf(window.value(QLatin1String("frame")));
        const auto buffer = pointOf(window.value(QLatin1String("buffer")));
        auto size = pointOf(window.value(QLatin1String("size")));
        const QString id = window.value(QLatin1String("id")).toString();
        if (!frame || !buffer || !size || id.isEmpty()) continue;
        const double x11 = window.value(QLatin1String("x11")).toDouble();
        const auto x11Window = x11 >= 1 && x11 <= UINT32_MAX ? static_cast<std::uint32_t>(x11) : 0u;
        std::optional<ScreenPoint> clientCorner;
        if (x11Window != 0) {
            // KWin's buffer of an X window is its whole frame; the picture is the client's.
            const auto client = x11Client(x_, x11Window);
            if (!client) continue;  // closed since KWin listed it
            clientCorner = client->first;
            size = client->second;
        }
        const bool minimised = window.value(QLatin1String("minimized")).toBool();
        if (!minimised) lastFound_ = id.toStdString();
        return table_.remember(
            {id.toStdString(), {*frame, clientOffsetOf(*frame, *buffer, clientCorner), *size}, x11Window, minimised});
    }
    captures_.dropAhead();
    return 0;
}

std::optional<ScreenPoint> KWinWindowLookup::restoredCorner(WindowHandle window) {
    // Read by findWindow, in the same click.
    const KWinWindow* found = table_.find(window);
    if (found == nullptr) return std::nullopt;
    return found->geometry.frameCorner;
}

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

QDBusMessage callKWin(const QString& path, const QString& interface, const QString& method,
                      const QVariantList& arguments) {
    QDBusMessage call = QDBusMessage::createMethodCall(kwinService, path, interface, method);
    call.setArguments(arguments);
    return QDBusConnection::sessionBus().call(call, QDBus::Block, kwinCallMilliseconds);
}

QDBusPendingCall callKWinLater(const QString& path, const QString& interface, const QString& method,
                               const QVariantList& arguments) {
    QDBusMessage call = QDBusMessage::createMethodCall(kwinService, path, interface, method);
    call.setArguments(arguments);
    return QDBusConnection::sessionBus().asyncCall(call, kwinCallMilliseconds);
}

void tellKWin(const QString& path, const QString& interface, const QString& method, const QVariantList& arguments) {
    QDBusMessage call = QDBusMessage::createMethodCall(kwinService, path, interface, method);
    call.setArguments(arguments);
    call.setAutoStartService(false);
    QDBusConnection::sessionBus().send(call);
}

bool kwinAnswersOnSessionBus() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return false;
    const QDBusMessage reply = bus.call(
        QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                                       QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"))
            << kwinService,
        QDBus::Block, kwinCallMilliseconds);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           reply.arguments().constFirst().toBool();
}

}  // namespace skl
