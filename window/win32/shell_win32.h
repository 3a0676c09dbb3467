#pragma once
// What the window asks of the shell: an address opened in the user's browser, and
// the special folders.

#include <windows.h>

#include "window/Form1.h"
#include "window/ShellFolders.h"

namespace skl {

class Win32Shell final : public Shell {
public:
    void openAddress(const Text& address) override;
};

// The file-system path of the shell's special folder with this id (a CSIDL value),
// looked up on behalf of the owner window; nothing when it is not found or has no
// file-system path.
std::optional<Text> GetSpecialFolderPath(HWND ownerHwnd, int folderId);

class Win32SpecialFolders final : public SpecialFolders {
public:
    explicit Win32SpecialFolders(HWND owner) : owner_(owner) {}
    std::optional<Text> desktopFolderPath() override;

private:
    HWND owner_;
};

}  // namespace skl
