#include "window/ShellFolders.h"

#include "capture/Text.h"

namespace skl {
namespace {

constexpr std::string_view desktopKey = "XDG_DESKTOP_DIR";
constexpr std::string_view homeVariable = "$HOME";

std::optional<std::string> setValue(const std::optional<std::string>& value) {
    if (!value || value->empty()) return std::nullopt;
    return value;
}

std::string_view skipBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

// The quoted value at the start of `text` ("..." with backslash escapes); nothing
// without its closing quote.
std::optional<std::string> quotedValue(std::string_view text) {
    if (text.empty() || text.front() != '"') return std::nullopt;
    std::string value;
    for (std::size_t at = 1; at < text.size(); ++at) {
        if (text[at] == '"') return value;
        if (text[at] == '\\' && at + 1 < text.size()) ++at;
        value += text[at];
    }
    return std::nullopt;
}

// An absolute path without NUL characters, which would cut the folder's name short.
std::optional<std::string> absolutePath(const std::string& value) {
    if (!value.starts_with('/') || value.find('\0') != std::string::npos) return std::nullopt;
    return value;
}

// HOME followed by `rest` ("" or "/..."), without a doubled slash where they meet.
std::string underHome(std::string_view home, std::string_view rest) {
    while (!home.empty() && home.back() == '/') home.remove_suffix(1);
    std::string path = std::string(home) + std::string(rest);
    return path.empty() ? "/" : path;
}

// The folder a user-dirs.dirs value names: "$HOME" followed by nothing or "/...", or
// an absolute path; nothing for any other value, and for "$HOME" without a HOME.
std::optional<std::string> folderOf(const std::string& value, const std::optional<std::string>& home) {
    if (value.starts_with(homeVariable)) {
        const std::string rest = value.substr(homeVariable.size());
        if (!home || (!rest.empty() && rest.front() != '/')) return std::nullopt;
        return absolutePath(underHome(*home, rest));
    }
    return absolutePath(value);
}

// The folder of the last usable XDG_DESKTOP_DIR line of user-dirs.dirs.
std::optional<std::string> folderFromUserDirs(std::string_view text, const std::optional<std::string>& home) {
    std::optional<std::string> folder;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = skipBlanks(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);

        if (!line.starts_with(desktopKey)) continue;  // comments and other folders
        line = skipBlanks(line.substr(desktopKey.size()));
        if (line.empty() || line.front() != '=') continue;
        const std::optional<std::string> value = quotedValue(skipBlanks(line.substr(1)));
        if (!value) continue;
        if (auto named = folderOf(*value, home)) folder = std::move(named);
    }
    return folder;
}

std::string withoutTrailingSlashes(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

}  // namespace

std::optional<std::string> userDirsFilePath(const UserEnvironment& environment) {
    if (const auto configHome = setValue(environment.configHome)) return *configHome + "/user-dirs.dirs";
    if (const auto home = setValue(environment.home)) return *home + "/.config/user-dirs.dirs";
    return std::nullopt;
}

std::optional<Text> desktopFolder(std::optional<std::string_view> userDirsText, const UserEnvironment& environment) {
    const std::optional<std::string> home = setValue(environment.home);
    std::optional<std::string> folder;
    if (userDirsText) folder = folderFromUserDirs(*userDirsText, home);
    if (!folder) {
        if (const auto fromEnvironment = setValue(environment.desktopDir)) folder = absolutePath(*fromEnvironment);
    }
    if (!folder && home) folder = absolutePath(underHome(*home, "/Desktop"));
    if (!folder) return std::nullopt;
    return decodeUtf8(withoutTrailingSlashes(std::move(*folder)));
}

}  // namespace skl
