#include "window/win32/ShellFolders_win32.h"

#include <shlobj.h>

#include "services/win32/shellPath_win32.h"

namespace skl {

std::optional<Text> GetSpecialFolderPath(HWND ownerHwnd, int folderId) {
    LPITEMIDLIST found = nullptr;
    if (SHGetSpecialFolderLocation(ownerHwnd, folderId, &found) != S_OK) return std::nullopt;
    const ItemIdList list(found);
    return fileSystemPathOf(list);
}

std::optional<Text> Win32SpecialFolders::desktopFolderPath() {
    return GetSpecialFolderPath(owner_, CSIDL_DESKTOPDIRECTORY);
}

}  // namespace skl
