#pragma once
// sway's IPC on its Unix socket ($SWAYSOCK): a request is the magic "i3-ipc", the
// payload's length and the message type (32 bits each, in the machine's byte
// order) and the payload; the reply is framed the same way, its payload JSON.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "capture/CaptureState.h"
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

// What the program reads of sway's IPC replies (JSON): the views in the layout
// tree and the outputs; and how a command names a container.

// A window of a program (a native Wayland one or an X11 one on XWayland).
struct SwayView {
    std::int64_t id = 0;  // the container's id, which commands name as con_id
    std::string name;     // the title, UTF-8
    std::int64_t pid = 0;
    std::optional<std::uint32_t> x11Window;  // for views on XWayland
    // The outer frame, title bar and borders included, in layout coordinates.
    ScreenRect frame;
    bool visible = false;
    bool inScratchpad = false;
};

// Every view in get_tree's reply; empty where it is not the tree.
std::vector<SwayView> swayViews(std::string_view tree);

struct SwayOutput {
    std::string name;
    ScreenRect rect;  // in layout coordinates
    double scale = 1.0;
};

// The active outputs in get_outputs' reply.
std::vector<SwayOutput> swayOutputs(std::string_view outputs);

// A command's criteria naming one container.
std::string swayConCriteria(std::int64_t id);

}  // namespace skl
