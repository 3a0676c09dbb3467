#include "services/win32/services_win32.h"

#include <vector>

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

namespace {

// The path the shell wrote into the buffer, which ends at its first NUL; an empty
// one is no path.
std::optional<Text> pathUpToNul(const wchar_t* buffer) {
    if (buffer[0] == L'\0') return std::nullopt;
    return Text(buffer);
}

}  // namespace

LongPathFromIdList shellLongPathFromIdList() {
    const HMODULE shell = GetModuleHandleW(L"shell32.dll");
    if (!shell) return nullptr;
    // Through a function pointer without parameters, the one type every function
    // pointer may be cast from and back to.
    using AnyFunction = void (*)();
    return reinterpret_cast<LongPathFromIdList>(
        reinterpret_cast<AnyFunction>(GetProcAddress(shell, "SHGetPathFromIDListEx")));
}

std::optional<Text> fileSystemPathOf(const ItemIdList& list, LongPathFromIdList longPathLookup) {
    if (longPathLookup) {
        // Room for the longest path the file system allows.
        constexpr DWORD longPathChars = 32768;
        constexpr int defaultForm = 0;  // GPFIDL_DEFAULT: the long file-system path
        std::vector<wchar_t> buffer(longPathChars, L'\0');
        if (!longPathLookup(list.get(), buffer.data(), longPathChars, defaultForm)) return std::nullopt;
        return pathUpToNul(buffer.data());
    }
    wchar_t buffer[MAX_PATH] = {};
    if (!SHGetPathFromIDListW(list.get(), buffer)) return std::nullopt;
    return pathUpToNul(buffer);
}

}  // namespace skl
