#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>

#include "capture/Utf8.h"
#include "capture/kwin/desktop_kwin.h"
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

}  // namespace skl
