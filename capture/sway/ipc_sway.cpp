#include "capture/sway/ipc_sway.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <time.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <limits>

namespace skl {
namespace {

constexpr std::string_view magic = "i3-ipc";
constexpr std::size_t headerSize = magic.size() + 8;
// No reply of the compositor's comes near this; a larger length is not its framing.
constexpr std::uint32_t largestReply = 64u << 20;

std::int64_t nowMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t{now.tv_sec} * 1000 + now.tv_nsec / 1'000'000;
}

// Waits until the socket is ready for `events`; false once the deadline has passed.
bool ready(int socket, short events, std::int64_t deadline) {
    for (;;) {
        const std::int64_t left = deadline - nowMilliseconds();
        if (left <= 0) return false;
        pollfd waiting{socket, events, 0};
        const int result = poll(&waiting, 1, static_cast<int>(left));
        if (result > 0) return true;
        if (result < 0 && errno != EINTR) return false;
    }
}

bool sendAll(int socket, const char* data, std::size_t size, std::int64_t deadline) {
    while (size > 0) {
        if (!ready(socket, POLLOUT, deadline)) return false;
        const ssize_t sent = send(socket, data, size, MSG_NOSIGNAL);
        if (sent < 0 && errno != EINTR && errno != EAGAIN) return false;
        if (sent > 0) {
            data += sent;
            size -= static_cast<std::size_t>(sent);
        }
    }
    return true;
}

bool receiveAll(int socket, char* data, std::size_t size, std::int64_t deadline) {
    while (size > 0) {
        if (!ready(socket, POLLIN, deadline)) return false;
        const ssize_t got = recv(socket, data, size, 0);
        if (got == 0 || (got < 0 && errno != EINTR && errno != EAGAIN)) return false;
        if (got > 0) {
            data += got;
            size -= static_cast<std::size_t>(got);
        }
    }
    return true;
}

}  // namespace

bool SwayIpc::answersAt(const char* socketPath) {
    if (socketPath == nullptr || *socketPath == '\0') return false;
    SwayIpc ipc(socketPath);
    return ipc.request(Message::GetVersion).has_value();
}

bool SwayIpc::connect(std::int64_t deadline) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path_.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path_.c_str(), path_.size() + 1);
    FileDescriptor socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!socket.valid()) return false;
    if (::connect(socket.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        if (errno != EINPROGRESS && errno != EAGAIN) return false;
        int error = 0;
        socklen_t length = sizeof error;
        if (!ready(socket.get(), POLLOUT, deadline) ||
            getsockopt(socket.get(), SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) {
            return false;
        }
    }
    socket_.emplace(socket.release());
    return true;
}

std::optional<std::string> SwayIpc::request(Message type, std::string_view payload) {
    const std::int64_t deadline = nowMilliseconds() + timeoutMilliseconds;
    if (!socket_ && !connect(deadline)) return std::nullopt;

    std::string message(magic);
    const auto length = static_cast<std::uint32_t>(payload.size());
    const auto code = static_cast<std::uint32_t>(type);
    message.append(reinterpret_cast<const char*>(&length), sizeof length);
    message.append(reinterpret_cast<const char*>(&code), sizeof code);
    message.append(payload);

    std::array<char, headerSize> header{};
    std::uint32_t replyLength = 0;
    std::uint32_t replyType = 0;
    std::string reply;
    const bool answered = [&] {
        if (!sendAll(socket_->get(), message.data(), message.size(), deadline)) return false;
        if (!receiveAll(socket_->get(), header.data(), header.size(), deadline)) return false;
        if (std::string_view(header.data(), magic.size()) != magic) return false;
        std::memcpy(&replyLength, header.data() + magic.size(), sizeof replyLength);
        std::memcpy(&replyType, header.data() + magic.size() + 4, sizeof replyType);
        if (replyLength > largestReply) return false;
        reply.resize(replyLength);
        return receiveAll(socket_->get(), reply.data(), reply.size(), deadline);
    }();
    if (!answered || replyType != code) {
        // A reply cut short leaves the stream out of step: the next request opens
        // the socket anew.
        socket_.reset();
        return std::nullopt;
    }
    return reply;
}

namespace {

// The name sway gives the workspace that holds the scratchpad.
constexpr const char* scratchpadWorkspace = "__i3_scratch";

QJsonDocument parsed(std::string_view json) {
    return QJsonDocument::fromJson(QByteArray(json.data(), static_cast<qsizetype>(json.size())));
}

std::int32_t clamped(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

std::int64_t coordinate(const QJsonObject& rect, const char* key) { return rect[QLatin1String(key)].toInteger(); }

// The rectangle, reaching `extraTop` higher.
ScreenRect rectOf(const QJsonObject& rect, std::int64_t extraTop = 0) {
    const std::int64_t x = coordinate(rect, "x");
    const std::int64_t y = coordinate(rect, "y");
    return {clamped(x), clamped(y - extraTop), clamped(x + coordinate(rect, "width")),
            clamped(y + coordinate(rect, "height"))};
}

void collectViews(const QJsonObject& node, bool inScratchpad, std::vector<SwayView>& views) {
    const bool scratchpad =
        inScratchpad || (node["type"].toString() == "workspace" && node["name"].toString() == scratchpadWorkspace);
    if (node.contains("shell")) {
        SwayView view;
        view.id = node["id"].toInteger();
        view.name = node["name"].toString().toStdString();
        view.pid = node["pid"].toInteger();
        if (node["window"].isDouble()) view.x11Window = static_cast<std::uint32_t>(node["window"].toInteger());
        // With a title bar ("border normal"), rect is the part below it, borders
        // included, and deco_rect the title bar; without one, rect is the frame.
        view.frame = rectOf(node["rect"].toObject(), coordinate(node["deco_rect"].toObject(), "height"));
        view.visible = node["visible"].toBool();
        view.inScratchpad = scratchpad;
        views.push_back(std::move(view));
    }
    for (const char* children : {"nodes", "floating_nodes"}) {
        for (const QJsonValue child : node[QLatin1String(children)].toArray()) {
            collectViews(child.toObject(), scratchpad, views);
        }
    }
}

}  // namespace

std::vector<SwayView> swayViews(std::string_view tree) {
    std::vector<SwayView> views;
    const QJsonDocument document = parsed(tree);
    if (document.isObject()) collectViews(document.object(), false, views);
    return views;
}

std::vector<SwayOutput> swayOutputs(std::string_view outputs) {
    std::vector<SwayOutput> found;
    for (const QJsonValue value : parsed(outputs).array()) {
        const QJsonObject output = value.toObject();
        if (!output["active"].toBool()) continue;
        const double scale = output["scale"].toDouble(1.0);
        found.push_back({output["name"].toString().toStdString(), rectOf(output["rect"].toObject()),
                         scale > 0 ? scale : 1.0});
    }
    return found;
}

std::string swayConCriteria(std::int64_t id) { return "[con_id=" + std::to_string(id) + "] "; }

}  // namespace skl
