#pragma once
// The shell's special folders.

#include <windows.h>

#include "window/ShellFolders.h"

namespace skl {

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
