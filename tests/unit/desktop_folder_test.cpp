// The desktop folder of the Linux edition, by the XDG user-directory rules, from
// the text of user-dirs.dirs and the environment alone.

#include <gtest/gtest.h>

#include <stdlib.h>

#include <fstream>

#include "TempFolder.h"
#include "window/ShellFolders.h"
#include "window/posix/ShellFolders_posix.h"

namespace skl {
namespace {

const UserEnvironment alice{"/home/alice", std::nullopt, std::nullopt};

std::optional<Text> fromFile(std::string_view text, const UserEnvironment& environment = alice) {
    return desktopFolder(text, environment);
}

TEST(DesktopFolder, UserDirsFileIsFoundInTheConfigFolder) {
    EXPECT_EQ(userDirsFilePath(alice), "/home/alice/.config/user-dirs.dirs");
    EXPECT_EQ(userDirsFilePath({"/home/alice", "/etc/alice", std::nullopt}), "/etc/alice/user-dirs.dirs");
    EXPECT_EQ(userDirsFilePath({"/home/alice", "", std::nullopt}), "/home/alice/.config/user-dirs.dirs");
    EXPECT_EQ(userDirsFilePath({std::nullopt, "/etc/alice", std::nullopt}), "/etc/alice/user-dirs.dirs");
    EXPECT_EQ(userDirsFilePath({"", std::nullopt, std::nullopt}), std::nullopt);
    EXPECT_EQ(userDirsFilePath({}), std::nullopt);
}

TEST(DesktopFolder, FileAsTheDesktopFolderManagerWritesIt) {
    const std::string_view file =
        "# This file is written by xdg-user-dirs-update\n"
        "# If you want to change or add directories, just edit the line you're\n"
        "# interested in. All local changes will be retained on the next run.\n"
        "# Format is XDG_xxx_DIR=\"$HOME/yyy\", where yyy is a shell-escaped\n"
        "# homedir-relative path, or XDG_xxx_DIR=\"/yyy\", where /yyy is an\n"
        "# absolute path. No other format is supported.\n"
        "# \n"
        "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
        "XDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\n";
    EXPECT_EQ(fromFile(file), L"/home/alice/Schreibtisch");
    EXPECT_EQ(fromFile("XDG_DESKTOP_DIR=\"/srv/desk\"\n"), L"/srv/desk");
    EXPECT_EQ(fromFile("XDG_DESKTOP_DIR=\"$HOME\"\n"), L"/home/alice");
    EXPECT_EQ(fromFile("XDG_DESKTOP_DIR=\"$HOME/\"\n"), L"/home/alice");
    EXPECT_EQ(fromFile("XDG_DESKTOP_DIR=\"$HOME/B\\\"ro \\\\x\"\r\n"), L"/home/alice/B\"ro \\x");
    EXPECT_EQ(fromFile("XDG_DESKTOP_DIR=\"$HOME/Bureau\""), L"/home/alice/Bureau");  // no final newline
    EXPECT_EQ(fromFile("  XDG_DESKTOP_DIR = \"$HOME/Escritorio\"  # comment\n"), L"/home/alice/Escritorio");
    EXPECT_EQ(fromFile("XDG_DESKTOP_DIR=\"$HOME/\xE6\xA1\x8C\xE9\x9D\xA2\"\n"), L"/home/alice/\u684c\u9762");
    EXPECT_EQ(fromFile("XDG_DESKTOP_DIR=\"$HOME/One\"\nXDG_DESKTOP_DIR=\"$HOME/Two\"\n"), L"/home/alice/Two");
}

TEST(DesktopFolder, LinesOutsideTheFormatAreIgnored) {
    for (const std::string_view line : {
             "#XDG_DESKTOP_DIR=\"/srv/desk\"",
             "XDG_DESKTOP_DIR=/srv/desk",             // not quoted
             "XDG_DESKTOP_DIR=\"/srv/desk",           // no closing quote
             "XDG_DESKTOP_DIR=\"Desktop\"",           // relative
             "XDG_DESKTOP_DIR=\"$HOMEDIR/x\"",        // another variable
             "XDG_DESKTOP_DIR=\"~/Desktop\"",         // the shell's tilde is not expanded
             "XDG_DESKTOP_DIRS=\"/srv/desk\"",
             "XDG_DESKTOP_DIR\"/srv/desk\"",
             "XDG_DOWNLOAD_DIR=\"/srv/desk\"",
             "export XDG_DESKTOP_DIR=\"/srv/desk\"",
             "XDG_DESKTOP_DIR=\"\"",
         }) {
        EXPECT_EQ(fromFile(line), L"/home/alice/Desktop") << line;
        // An ignored line leaves an earlier one standing.
        EXPECT_EQ(fromFile("XDG_DESKTOP_DIR=\"/srv/ok\"\n" + std::string(line)), L"/srv/ok") << line;
    }
    EXPECT_EQ(fromFile(std::string_view("XDG_DESKTOP_DIR=\"/srv/a\0b\"", 26)), L"/home/alice/Desktop");
}

TEST(DesktopFolder, EnvironmentCountsOnlyWithoutAFileEntry) {
    const UserEnvironment withVariable{"/home/alice", std::nullopt, "/data/desk"};
    EXPECT_EQ(desktopFolder(std::nullopt, withVariable), L"/data/desk");
    EXPECT_EQ(fromFile("# nothing here\n", withVariable), L"/data/desk");
    EXPECT_EQ(fromFile("XDG_DESKTOP_DIR=\"$HOME/Desk\"\n", withVariable), L"/home/alice/Desk");
    // An empty or relative value is not used.
    EXPECT_EQ(desktopFolder(std::nullopt, {"/home/alice", std::nullopt, ""}), L"/home/alice/Desktop");
    EXPECT_EQ(desktopFolder(std::nullopt, {"/home/alice", std::nullopt, "desk"}), L"/home/alice/Desktop");
}

TEST(DesktopFolder, WithoutHomeOnlyAnAbsoluteFolderServes) {
    EXPECT_EQ(desktopFolder(std::nullopt, alice), L"/home/alice/Desktop");
    EXPECT_EQ(desktopFolder(std::nullopt, {"/home/alice/", std::nullopt, std::nullopt}), L"/home/alice/Desktop");
    EXPECT_EQ(desktopFolder(std::nullopt, {}), std::nullopt);
    EXPECT_EQ(desktopFolder(std::nullopt, {"", std::nullopt, std::nullopt}), std::nullopt);
    EXPECT_EQ(desktopFolder(std::nullopt, {"relative", std::nullopt, std::nullopt}), std::nullopt);
    EXPECT_EQ(desktopFolder("XDG_DESKTOP_DIR=\"$HOME/Desk\"\n", {}), std::nullopt);
    EXPECT_EQ(desktopFolder("XDG_DESKTOP_DIR=\"/srv/desk\"\n", {}), L"/srv/desk");
    EXPECT_EQ(desktopFolder(std::nullopt, {std::nullopt, std::nullopt, "/data/desk"}), L"/data/desk");
}

TEST(DesktopFolder, NamesThatAreNotUtf8GiveNoFolder) {
    EXPECT_EQ(fromFile("XDG_DESKTOP_DIR=\"/srv/Bur\xE9\x61u\"\n"), std::nullopt);
    EXPECT_EQ(desktopFolder(std::nullopt, {"/home/\xFF", std::nullopt, std::nullopt}), std::nullopt);
    EXPECT_EQ(desktopFolder(std::nullopt, {"/", std::nullopt, std::nullopt}), L"/Desktop");
}

// Sets an environment variable, or unsets it, for a while.
class EnvironmentValue {
public:
    EnvironmentValue(const char* name, const char* value) : name_(name) {
        if (const char* previous = getenv(name)) previous_ = previous;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~EnvironmentValue() { previous_ ? setenv(name_, previous_->c_str(), 1) : unsetenv(name_); }
    EnvironmentValue(const EnvironmentValue&) = delete;
    EnvironmentValue& operator=(const EnvironmentValue&) = delete;

private:
    const char* name_;
    std::optional<std::string> previous_;
};

TEST(XdgSpecialFolders, DesktopComesFromTheUserDirsFileOfTheEnvironment) {
    const test::TempFolder config;
    const EnvironmentValue home("HOME", "/home/tester");
    const EnvironmentValue configHome("XDG_CONFIG_HOME", config.path().c_str());
    const EnvironmentValue desktopDir("XDG_DESKTOP_DIR", nullptr);
    std::ofstream(config.path() / "user-dirs.dirs") << "XDG_DESKTOP_DIR=\"$HOME/Bureau\"\n";

    XdgSpecialFolders folders;
    EXPECT_EQ(folders.desktopFolderPath(), L"/home/tester/Bureau");

    std::filesystem::remove(config.path() / "user-dirs.dirs");
    EXPECT_EQ(folders.desktopFolderPath(), L"/home/tester/Desktop");
}

}  // namespace
}  // namespace skl
