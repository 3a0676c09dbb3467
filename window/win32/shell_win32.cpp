#include "window/win32/shell_win32.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include "services/win32/services_win32.h"

namespace skl {

void Win32Shell::openAddress(const Text& address) {
    ShellExecuteW(nullptr, L"Open", address.c_str(), L"", L"", SW_SHOWNORMAL);
}

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
