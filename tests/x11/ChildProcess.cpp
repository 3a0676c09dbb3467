#include "ChildProcess.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace skl::x11test {

ChildProcess::ChildProcess(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    if (posix_spawnp(&pid_, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        pid_ = -1;
        throw std::runtime_error("cannot start " + arguments.front());
    }
}

ChildProcess::~ChildProcess() {
    stop();
}

std::optional<int> ChildProcess::wait(std::chrono::milliseconds timeout) {
    if (pid_ < 0) return -1;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    int status = 0;
    for (;;) {
        const pid_t ended = waitpid(pid_, &status, WNOHANG);
        if (ended == pid_) break;
        if (ended < 0 && errno != EINTR) return -1;
        if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void ChildProcess::stop() {
    if (pid_ < 0) return;
    kill(pid_, SIGTERM);
    while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
}

std::optional<int> run(const std::vector<std::string>& arguments) {
    return ChildProcess(arguments).wait();
}

std::vector<std::string> viewerCommand(const std::string& id, const std::vector<std::string>& options) {
    std::vector<std::string> arguments = {SKELLIMOR_WEBCAM_VIEWER, id};
    arguments.insert(arguments.end(), options.begin(), options.end());
    return arguments;
}

}  // namespace skl::x11test
