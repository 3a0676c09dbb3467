#pragma once
// sway's IPC on its Unix socket ($SWAYSOCK): a request is the magic "i3-ipc", the
// payload's length and the message type (32 bits each, in the machine's byte
// order) and the payload; the reply is framed the same way, its payload JSON.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "capture/posix/descriptor_posix.h"

namespace skl {

class SwayIpc {
public:
    enum class Message : std::uint32_t { RunCommand = 0, GetOutputs = 3, GetTree = 4, GetVersion = 7 };
    // Every request, from connecting to the reply's last byte, is bounded by this.
    static constexpr int timeoutMilliseconds = 2000;

    // The socket is opened on the first request, and again after one failed.
    explicit SwayIpc(std::string socketPath) : path_(std::move(socketPath)) {}

    // Whether the compositor answers on the socket at this path.
    static bool answersAt(const char* socketPath);

    // The reply's JSON payload; nothing when the compositor did not answer in time,
    // or answered with something else than a reply to this message.
    std::optional<std::string> request(Message type, std::string_view payload = {});

private:
    bool connect(std::int64_t deadline);

    std::string path_;
    std::optional<FileDescriptor> socket_;
};

}  // namespace skl
