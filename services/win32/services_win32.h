#pragma once
// The service modules' Win32 side: the running system's version record, the
// topmost band, the shell's folder dialog, and the shell item-id lists and
// file-system paths it and the special folders share.

#include <windows.h>
#include <shlobj.h>

#include <optional>

#include "capture/Text.h"
#include "services/WinVersion.h"
#include "services/alwaysontop.h"
#include "services/folderBrowser.h"
#include "capture/win32/system_win32.h"

namespace skl {

// The running system's version record; all 0 when the system does not give it.
OsVersion runningSystemVersion();

class Win32TopmostBand final : public TopmostBand {
public:
    void setTopmost(WindowHandle window, bool topmost) override;
};

class Win32FolderDialog final : public FolderDialog {
public:
    std::optional<Text> showFolderDialog(WindowHandle owner, const Text& prompt) override;
};

// A shell item-id list, freed with the task allocator.
using ItemIdList = UniqueHandle<LPITEMIDLIST, CoTaskMemFree>;

// The shell's path lookup that takes a buffer of any length (SHGetPathFromIDListEx).
using LongPathFromIdList = BOOL(WINAPI*)(LPCITEMIDLIST list, PWSTR path, DWORD pathChars, int flags);

// The shell's long-path lookup where it has one (from Vista on), found at run time
// so that the program still starts on XP; null where there is none.
LongPathFromIdList shellLongPathFromIdList();

// The item's file-system path, nothing when it has none. With the long-path lookup
// no path is cut short; without it paths are limited to MAX_PATH characters.
std::optional<Text> fileSystemPathOf(const ItemIdList& list,
                                     LongPathFromIdList longPathLookup = shellLongPathFromIdList());

}  // namespace skl
