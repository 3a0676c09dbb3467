#include "capture/posix/desktop_posix.h"

#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <system_error>
#include <thread>

#include "capture/Text.h"
#include "capture/posix/descriptor_posix.h"

namespace skl {
namespace {

Text systemMessage(int error) {
    const std::string message = std::system_category().message(error);
    const std::optional<Text> text = decodeUtf8(message);
    return text && !text->empty() ? *text + L"." : L"The system reported error " + std::to_wstring(error) + L".";
}

Text reasonFor(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return L"The folder does not exist (or is not a folder).";
        case EACCES:
        case EPERM:
            return L"The system does not allow writing into that folder.";
        case ENOSPC:
        case EDQUOT:
            return L"The disk is full.";
        case EROFS:
            return L"The disk is read-only.";
        case ENAMETOOLONG:
            return L"The file name is too long.";
        default:
            return systemMessage(error);
    }
}

WriteResult failed(int error) {
    return {WriteResult::Status::Failed, reasonFor(error)};
}

// Writes every byte; the error that stopped it, or 0.
int writeAll(int descriptor, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (written == 0) return ENOSPC;  // no progress: nothing more fits
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return 0;
}

}  // namespace

WriteResult PosixFileStore::writeNewFile(const Text& path, std::span<const std::uint8_t> bytes) {
    // A NUL would end the name early and so name another file.
    const std::optional<std::string> name = encodeUtf8(path);
    if (!name || name->find('\0') != std::string::npos)
        return {WriteResult::Status::Failed, L"The ID holds characters that a file name may not contain."};

    // O_EXCL checks for an existing file and creates the new one in one step.
    FileDescriptor file(::open(name->c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666));
    if (!file.valid()) {
        const int error = errno;
        if (error == EEXIST) return {WriteResult::Status::AlreadyExists, {}};
        return failed(error);
    }

    int error = writeAll(file.get(), bytes);
    if (!file.close() && error == 0) error = errno;
    if (error == 0) return {};

    // The file is this call's own: a partly written picture is not left behind.
    ::unlink(name->c_str());
    return failed(error);
}

LocalTime PosixClock::localNow() {
    const time_t now = ::time(nullptr);
    tm local{};
    if (::localtime_r(&now, &local) == nullptr) return {};
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

std::int64_t PosixClock::monotonicMilliseconds() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t{now.tv_sec} * 1000 + now.tv_nsec / 1'000'000;
}

void PosixClock::sleepMilliseconds(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace skl
