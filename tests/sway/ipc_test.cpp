#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <string>
#include <thread>

#include "capture/posix/descriptor_posix.h"
#include "capture/sway/ipc_sway.h"

namespace skl {
namespace {

// A listening Unix socket standing in for the compositor: each connection it takes
// is handed to `serve`, in a thread of its own.
class FakeCompositor {
public:
    explicit FakeCompositor(std::function<void(int)> serve)
        : path_(testing::TempDir() + "sway-ipc-" + std::to_string(getpid()) + ".sock"),
          listening_(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        unlink(path_.c_str());
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path_.c_str(), sizeof address.sun_path - 1);
        EXPECT_EQ(bind(listening_.get(), reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        EXPECT_EQ(listen(listening_.get(), 4), 0);
        server_ = std::thread([this, serve] {
            for (;;) {
                FileDescriptor connection(accept(listening_.get(), nullptr, nullptr));
                if (!connection.valid()) return;
                serve(connection.get());
            }
        });
    }
    ~FakeCompositor() {
        shutdown(listening_.get(), SHUT_RDWR);
        server_.join();
        unlink(path_.c_str());
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
    FileDescriptor listening_;
    std::thread server_;
};

std::string readExactly(int socket, std::size_t size) {
    std::string data(size, '\0');
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = read(socket, data.data() + got, size - got);
        if (n <= 0) return {};
        got += static_cast<std::size_t>(n);
    }
    return data;
}

std::string framed(std::string_view magic, std::uint32_t type, std::string_view payload) {
    std::string message(magic);
    const auto length = static_cast<std::uint32_t>(payload.size());
    message.append(reinterpret_cast<const char*>(&length), 4);
    message.append(reinterpret_cast<const char*>(&type), 4);
    message.append(payload);
    return message;
}

// Reads one request; what it asked for (its type and payload).
std::pair<std::uint32_t, std::string> readRequest(int socket) {
    const std::string header = readExactly(socket, 14);
    if (header.size() != 14 || header.substr(0, 6) != "i3-ipc") return {~0u, {}};
    std::uint32_t length = 0;
    std::uint32_t type = 0;
    std::memcpy(&length, header.data() + 6, 4);
    std::memcpy(&type, header.data() + 10, 4);
    return {type, readExactly(socket, length)};
}

void reply(int socket, const std::string& message) {
    ASSERT_EQ(send(socket, message.data(), message.size(), MSG_NOSIGNAL), static_cast<ssize_t>(message.size()));
}

TEST(SwayIpc, SendsFramedRequestsAndReadsFramedReplies) {
    std::string seen;
    FakeCompositor compositor([&](int socket) {
        for (;;) {
            const auto [type, payload] = readRequest(socket);
            if (type == ~0u) return;
            seen += std::to_string(type) + ":" + payload + ";";
            // A large reply comes in pieces.
            reply(socket, framed("i3-ipc", type, type == 4 ? std::string(300'000, 'x') : "[{\"success\": true}]"));
        }
    });
    // The compositor serves one connection at a time: the check's first.
    EXPECT_TRUE(SwayIpc::answersAt(compositor.path().c_str()));
    SwayIpc ipc(compositor.path());
    EXPECT_EQ(ipc.request(SwayIpc::Message::RunCommand, "[con_id=5] move scratchpad"), "[{\"success\": true}]");
    EXPECT_EQ(ipc.request(SwayIpc::Message::GetTree)->size(), 300'000u);
    EXPECT_EQ(seen, "7:;0:[con_id=5] move scratchpad;4:;");
}

TEST(SwayIpc, ACompositorThatDoesNotAnswerIsGivenUpAfterTwoSeconds) {
    FakeCompositor compositor([](int socket) {
        readRequest(socket);
        std::this_thread::sleep_for(std::chrono::milliseconds(2600));
    });
    SwayIpc ipc(compositor.path());
    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(ipc.request(SwayIpc::Message::GetTree).has_value());
    const auto took = std::chrono::steady_clock::now() - started;
    EXPECT_GE(took, std::chrono::milliseconds(1900));
    EXPECT_LT(took, std::chrono::milliseconds(2500));
}

TEST(SwayIpc, AReplyOutOfStepIsRefusedAndTheSocketOpenedAnew) {
    std::atomic<int> connections = 0;
    FakeCompositor compositor([&](int socket) {
        ++connections;
        const auto [type, payload] = readRequest(socket);
        if (connections == 1) {
            reply(socket, framed("i3-ipX", type, "{}"));  // not the framing
        } else if (connections == 2) {
            reply(socket, framed("i3-ipc", type + 1, "{}"));  // a reply to another message
        } else {
            reply(socket, framed("i3-ipc", type, "{\"ok\": 1}"));
        }
    });
    SwayIpc ipc(compositor.path());
    EXPECT_FALSE(ipc.request(SwayIpc::Message::GetOutputs).has_value());
    EXPECT_FALSE(ipc.request(SwayIpc::Message::GetOutputs).has_value());
    EXPECT_EQ(ipc.request(SwayIpc::Message::GetOutputs), "{\"ok\": 1}");
    EXPECT_EQ(connections, 3);
}

TEST(SwayIpc, NoCompositorAnswersWhereNoSocketIs) {
    EXPECT_FALSE(SwayIpc::answersAt(nullptr));
    EXPECT_FALSE(SwayIpc::answersAt(""));
    EXPECT_FALSE(SwayIpc::answersAt("/nonexistent/sway-ipc.sock"));
    EXPECT_FALSE(SwayIpc::answersAt(std::string(200, 'a').c_str()));  // longer than a socket's path may be
}

}  // namespace
}  // namespace skl
