#include "window/ShellFolders_win32.h"

#include "services/shellPath_win32.h"

namespace skl {

std::optional<Text> Win32SpecialFolders::specialFolderPath(WindowHandle owner, std::int32_t folderId) {
    LPITEMIDLIST found = nullptr;
    if (SHGetSpecialFolderLocation(toHwnd(owner), folderId, &found) != S_OK) return std::nullopt;
    const ItemIdList list(found);
    return fileSystemPathOf(list);
}

}  // namespace skl
