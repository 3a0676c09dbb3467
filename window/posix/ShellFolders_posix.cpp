#include "window/posix/ShellFolders_posix.h"

#include <cstdlib>
#include <fstream>

namespace skl {
namespace {

// user-dirs.dirs holds a few short lines; anything beyond this is not read.
constexpr std::streamsize longestUserDirsFile = 64 * 1024;

std::optional<std::string> environmentValue(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr) return std::nullopt;
    return std::string(value);
}

std::optional<std::string> fileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    std::string text(static_cast<std::size_t>(longestUserDirsFile), '\0');
    file.read(text.data(), longestUserDirsFile);
    if (file.bad()) return std::nullopt;
    text.resize(static_cast<std::size_t>(file.gcount()));
    return text;
}

}  // namespace

std::optional<Text> XdgSpecialFolders::desktopFolderPath() {
    const UserEnvironment environment{environmentValue("HOME"), environmentValue("XDG_CONFIG_HOME"),
                                      environmentValue("XDG_DESKTOP_DIR")};
    std::optional<std::string> userDirs;
    if (const auto path = userDirsFilePath(environment)) userDirs = fileText(*path);
    return desktopFolder(userDirs, environment);
}

}  // namespace skl
