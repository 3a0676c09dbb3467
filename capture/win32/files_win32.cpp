#include "capture/win32/files_win32.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "capture/win32/desktop_win32.h"

namespace skl {
namespace {

bool isSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

bool isDriveAbsolute(const Text& path) {
    const wchar_t drive = path.empty() ? L'\0' : static_cast<wchar_t>(path[0] | 0x20);
    return path.size() >= 3 && drive >= L'a' && drive <= L'z' && path[1] == L':' && isSeparator(path[2]);
}

bool isUnc(const Text& path) {
    return path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1]);
}

constexpr std::size_t longestName = 255;

constexpr std::wstring_view extendedPrefix = L"\\\\?\\";

// Where the parts that name files and folders begin: after "C:\", after
// "\\server\share\", after the extended-length prefix and what it holds of those.
std::size_t namesStart(const Text& path) {
    if (path.starts_with(extendedPrefix)) {
        const Text rest = path.substr(extendedPrefix.size());
        if (rest.starts_with(L"UNC\\")) return extendedPrefix.size() + 4 + namesStart(L"\\\\" + rest.substr(4)) - 2;
        return extendedPrefix.size() + namesStart(rest);
    }
    if (isDriveAbsolute(path)) return 3;
    if (isUnc(path)) {
        // Past the server and the share.
        std::size_t at = 2;
        for (int part = 0; part < 2 && at <= path.size(); ++part) {
            const auto next = std::find_if(path.begin() + static_cast<std::ptrdiff_t>(at), path.end(), isSeparator);
            at = static_cast<std::size_t>(next - path.begin()) + 1;
        }
        return std::min(at, path.size());
    }
    return 0;
}

std::vector<std::wstring_view> namesIn(const Text& path) {
    std::vector<std::wstring_view> names;
    const std::wstring_view rest = std::wstring_view(path).substr(namesStart(path));
    std::size_t start = 0;
    for (std::size_t i = 0; i <= rest.size(); ++i) {
        if (i == rest.size() || isSeparator(rest[i])) {
            if (i > start) names.push_back(rest.substr(start, i - start));
            start = i + 1;
        }
    }
    return names;
}

bool isDeviceName(std::wstring_view name) {
    // The part before the first dot, without the spaces that end it, in any case.
    std::wstring_view base = name.substr(0, name.find(L'.'));
    while (!base.empty() && base.back() == L' ') base.remove_suffix(1);
    Text upper(base);
    // Device names are ASCII.
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; });
    constexpr std::array<std::wstring_view, 4> plain = {L"CON", L"PRN", L"AUX", L"NUL"};
    if (std::find(plain.begin(), plain.end(), upper) != plain.end()) return true;
    return upper.size() == 4 && (upper.starts_with(L"COM") || upper.starts_with(L"LPT")) && upper[3] >= L'1' &&
           upper[3] <= L'9';
}

}  // namespace

std::optional<Text> windowsNameProblem(const Text& path) {
    for (const std::wstring_view name : namesIn(path)) {
        const bool reserved = std::any_of(name.begin(), name.end(), [](wchar_t c) {
            return c < 0x20 || std::wstring_view(L":*?\"<>|").find(c) != std::wstring_view::npos;
        });
        if (reserved) {
            return Text{L"The ID holds characters that a file name may not contain on Windows "
                        L"( : * ? \" < > | or control characters)."};
        }
        if (isDeviceName(name)) {
            return L"The ID makes the name \"" + Text(name) +
                   L"\", which Windows keeps for a device (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9).";
        }
        if (name.size() > longestName) {
            return Text{L"The ID makes a file name longer than the 255 characters Windows allows."};
        }
        if (name.back() == L'.' || name.back() == L' ') {
            return L"The ID makes the name \"" + Text(name) + L"\", which ends in a dot or a space: Windows drops those.";
        }
    }
    return std::nullopt;
}

std::optional<Text> windowsFileCallPath(const Text& path) {
    if (path.size() < windowsPathLimit || path.starts_with(extendedPrefix)) return path;
    const auto names = namesIn(path);
    if (std::any_of(names.begin(), names.end(), [](std::wstring_view n) { return n == L"." || n == L".."; }))
        return std::nullopt;
    Text backslashed = path;
    std::replace(backslashed.begin(), backslashed.end(), L'/', L'\\');
    Text extended(extendedPrefix);
    if (isDriveAbsolute(backslashed)) return extended.append(backslashed);
    if (isUnc(backslashed)) return extended.append(L"UNC").append(std::wstring_view(backslashed).substr(1));
    return std::nullopt;
}

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
