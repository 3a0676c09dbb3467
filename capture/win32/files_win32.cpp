#include <string>

#include "capture/win32/FileNames_win32.h"
#include "capture/win32/desktop_win32.h"

namespace skl {
namespace {

Text systemMessage(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    Text message = length ? Text(buffer, length) : Text{};
    LocalFree(buffer);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
        message.pop_back();
    return message.empty() ? L"Windows reported error " + std::to_wstring(error) + L"." : message;
}

Text reasonFor(DWORD error) {
    switch (error) {
        // Creating a new file, "file not found" can only mean its folder: Wine
        // reports a missing last folder so.
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_DIRECTORY:
            return L"The folder does not exist (or is not a folder).";
        case ERROR_INVALID_NAME:
            return L"Windows does not accept that name for a file.";
        case ERROR_FILENAME_EXCED_RANGE:
            return L"The path is too long for Windows.";
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return L"The disk is full.";
        case ERROR_ACCESS_DENIED:
            return L"Windows does not allow writing into that folder.";
        case ERROR_WRITE_PROTECT:
            return L"The disk is write-protected.";
        default:
            return systemMessage(error);
    }
}

WriteResult failed(DWORD error) {
    return {WriteResult::Status::Failed, reasonFor(error)};
}

}  // namespace

WriteResult Win32FileStore::writeNewFile(const Text& named, std::span<const std::uint8_t> bytes) {
    if (const auto problem = windowsNameProblem(named)) return {WriteResult::Status::Failed, *problem};
    const std::optional<Text> callPath = windowsFileCallPath(named);
    if (!callPath) {
        return {WriteResult::Status::Failed,
                L"The path is too long for Windows (" + std::to_wstring(named.size()) + L" characters)."};
    }
    const Text& path = *callPath;
    // CREATE_NEW checks for an existing file and creates the new one in one step.
    FileHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) return {WriteResult::Status::AlreadyExists, {}};
        return failed(error);
    }

    DWORD written = 0;
    const bool complete = WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                          written == bytes.size();
    DWORD error = complete ? ERROR_SUCCESS : GetLastError();
    if (!file.close() && complete) error = GetLastError();
    if (error == ERROR_SUCCESS && !complete) error = ERROR_HANDLE_DISK_FULL;  // a short write
    if (error == ERROR_SUCCESS) return {};

    // The file is this call's own: a partly written picture is not left behind.
    DeleteFileW(path.c_str());
    return failed(error);
}

}  // namespace skl
