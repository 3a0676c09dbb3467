#include "services/win32/folderBrowser_win32.h"

#include "services/win32/shellPath_win32.h"

namespace skl {

std::optional<Text> Win32FolderDialog::showFolderDialog(WindowHandle owner, const Text& prompt) {
    BROWSEINFOW info{};
    info.hwndOwner = toHwnd(owner);
    info.lpszTitle = prompt.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    const ItemIdList chosen(SHBrowseForFolderW(&info));
    if (!chosen) return std::nullopt;
    return fileSystemPathOf(chosen);
}

}  // namespace skl
