#pragma once
// Where the user's own folders lie: the port each edition implements, and the
// rules of the XDG user directories by which the Linux edition finds the desktop
// folder (kept apart from the file system and the process environment so that
// they can be checked on their own).

#include <optional>
#include <string>
#include <string_view>

#include "capture/Text.h"

namespace skl {

class SpecialFolders {
public:
    virtual ~SpecialFolders() = default;
    // The file-system path of the folder that holds the user's desktop items;
    // nothing when the system knows none.
    virtual std::optional<Text> desktopFolderPath() = 0;
};

// The user's desktop folder on Linux: XDG_DESKTOP_DIR from
// ${XDG_CONFIG_HOME:-$HOME/.config}/user-dirs.dirs, else from the environment, else
// $HOME/Desktop.

// The environment values the rules read; an empty value counts as unset.
struct UserEnvironment {
    std::optional<std::string> home;        // HOME
    std::optional<std::string> configHome;  // XDG_CONFIG_HOME
    std::optional<std::string> desktopDir;  // XDG_DESKTOP_DIR
};

// Where user-dirs.dirs lies; nothing when neither XDG_CONFIG_HOME nor HOME is set.
std::optional<std::string> userDirsFilePath(const UserEnvironment& environment);

// The desktop folder, without a trailing slash. `userDirsText` is the content of
// user-dirs.dirs, nothing when it could not be read. In that file only lines of the
// form XDG_DESKTOP_DIR="$HOME/..." or XDG_DESKTOP_DIR="/..." count (the last one
// wins), and only $HOME is expanded; the environment's XDG_DESKTOP_DIR counts when it
// is an absolute path. Nothing when the folder would have to be built from HOME and
// there is none (or it is not absolute), or when the folder's name is not UTF-8.
std::optional<Text> desktopFolder(std::optional<std::string_view> userDirsText, const UserEnvironment& environment);

}  // namespace skl
