#pragma once
// Shell item-id lists and the file-system paths they stand for.

#include <windows.h>
#include <shlobj.h>

#include <optional>
#include <vector>

#include "capture/Text.h"
#include "capture/handles_win32.h"

namespace skl {

// A shell item-id list, freed with the task allocator.
using ItemIdList = UniqueHandle<LPITEMIDLIST, CoTaskMemFree>;

// The item's file-system path, with room for the longest path the file system
// allows so that no path is cut short; empty when it has none.
inline std::optional<Text> fileSystemPathOf(const ItemIdList& list) {
    constexpr DWORD longPathChars = 32768;
    std::vector<wchar_t> buffer(longPathChars, L'\0');
    if (!SHGetPathFromIDListEx(list.get(), buffer.data(), longPathChars, GPFIDL_DEFAULT)) return std::nullopt;
    return Text(buffer.data());
}

}  // namespace skl
