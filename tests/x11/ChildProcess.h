#pragma once
// Other programs the X11 tests start: the sample viewer, xdotool.

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace skl::x11test {

// A program running beside the test; ended (SIGTERM) and waited for on destruction.
class ChildProcess {
public:
    // Starts the program, looked up on PATH unless given with a slash; throws when it
    // cannot be started.
    explicit ChildProcess(const std::vector<std::string>& arguments);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Waits for the program to end by itself: its exit status, -1 when a signal ended
    // it, nothing when it still runs after `timeout`.
    std::optional<int> wait(std::chrono::milliseconds timeout = std::chrono::seconds(10));
    // Ends the program now and waits for it.
    void stop();

private:
    pid_t pid_ = -1;
};

// Runs the program to its end; its exit status, nothing when it did not end in time.
std::optional<int> run(const std::vector<std::string>& arguments);

// The command line that starts the sample viewer, built beside the tests.
std::vector<std::string> viewerCommand(const std::string& id, const std::vector<std::string>& options = {});

}  // namespace skl::x11test
