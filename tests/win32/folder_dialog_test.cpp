// The folder dialog and the path of the chosen folder. SHBrowseForFolderW is
// replaced entirely, so that no dialog opens: it records what it is given and
// answers with a folder the test chooses.

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <utility>

#include "ImportSeam.h"
#include "services/win32/services_win32.h"

namespace skl::test {
namespace {

struct BrowseCall {
    HWND owner;
    bool withRoot;
    UINT flags;
    std::optional<std::wstring> title;
    bool withCallback;
};

struct BrowseAnswer {
    LPITEMIDLIST chosen = nullptr;  // handed over to the caller, as the shell does
};

BrowseAnswer& nextBrowseAnswer() {
    static BrowseAnswer answer;
    return answer;
}

LPITEMIDLIST WINAPI stubBrowseForFolder(LPBROWSEINFOW info) {
    recordedCalls<BrowseCall>().push_back(
        {info->hwndOwner, info->pidlRoot != nullptr, info->ulFlags, textOrNull(info->lpszTitle), info->lpfn != nullptr});
    return std::exchange(nextBrowseAnswer().chosen, nullptr);
}

// A new item-id list of a special folder, as the shell allocates it.
LPITEMIDLIST specialFolder(int folderId) {
    LPITEMIDLIST list = nullptr;
    if (SHGetSpecialFolderLocation(nullptr, folderId, &list) != S_OK) throw std::runtime_error("no special folder");
    return list;
}

Text windowsDirectory() {
    wchar_t path[MAX_PATH] = {};
    GetWindowsDirectoryW(path, MAX_PATH);
    return path;
}

std::optional<Text> chooseInDialog(LPITEMIDLIST chosen, WindowHandle owner = 0x00010046,
                                   const Text& prompt = L"Where should the snapshots go?") {
    recordedCalls<BrowseCall>().clear();
    nextBrowseAnswer().chosen = chosen;
    return Win32FolderDialog().showFolderDialog(owner, prompt);
}

TEST(FolderDialog, OwnedByTheWindowFromTheDesktopDownForFileSystemFoldersWithThePrompt) {
    const std::optional<Text> cancelled = chooseInDialog(nullptr, 0x00010046, L"Pick a folder");
    EXPECT_EQ(cancelled, std::nullopt);
    const std::vector<BrowseCall>& calls = recordedCalls<BrowseCall>();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].owner, toHwnd(0x00010046));
    EXPECT_FALSE(calls[0].withRoot);
    EXPECT_EQ(calls[0].flags, UINT{BIF_RETURNONLYFSDIRS});
    EXPECT_EQ(calls[0].title, std::wstring(L"Pick a folder"));
    EXPECT_FALSE(calls[0].withCallback);
}

TEST(FolderDialog, ChosenFolderComesBackAsItsPath) {
    EXPECT_EQ(chooseInDialog(specialFolder(CSIDL_WINDOWS)), windowsDirectory());
}

TEST(FolderDialog, ChoiceOutsideTheFileSystemGivesNoPath) {
    EXPECT_EQ(chooseInDialog(specialFolder(CSIDL_DRIVES)), std::nullopt);
}

TEST(ShellPath, ShellOffersTheLongPathLookup) {
    // Present from Vista on (and in Wine); on XP the lookup gives null.
    EXPECT_NE(shellLongPathFromIdList(), nullptr);
}

TEST(ShellPath, WithoutTheLongPathLookupPathsStillComeBack) {
    const ItemIdList windows(specialFolder(CSIDL_WINDOWS));
    EXPECT_EQ(fileSystemPathOf(windows, nullptr), windowsDirectory());
    const ItemIdList computer(specialFolder(CSIDL_DRIVES));
    EXPECT_EQ(fileSystemPathOf(computer, nullptr), std::nullopt);
}

// Stands in for the shell's long-path lookup with a path longer than MAX_PATH.
BOOL WINAPI deepPathLookup(LPCITEMIDLIST, PWSTR path, DWORD pathChars, int) {
    const std::wstring deep = L"C:\\" + std::wstring(400, L'd');
    if (pathChars <= deep.size()) return FALSE;
    deep.copy(path, deep.size());
    path[deep.size()] = L'\0';
    return TRUE;
}

// Stands in for the shell's long-path lookup, writing the buffer it is given.
template <const wchar_t* written, std::size_t length>
BOOL WINAPI writingLookup(LPCITEMIDLIST, PWSTR path, DWORD, int) {
    std::copy(written, written + length, path);
    return TRUE;
}

constexpr wchar_t pathThenJunk[] = L"C:\\Pics\0junk";
constexpr wchar_t nothingWritten[] = L"\0\0\0";

TEST(ShellPath, ThePathEndsAtItsFirstNulAndAnEmptyOneIsNone) {
    const ItemIdList windows(specialFolder(CSIDL_WINDOWS));
    EXPECT_EQ(fileSystemPathOf(windows, writingLookup<pathThenJunk, std::size(pathThenJunk)>), L"C:\\Pics");
    EXPECT_EQ(fileSystemPathOf(windows, writingLookup<nothingWritten, std::size(nothingWritten)>), std::nullopt);
}

TEST(ShellPath, LongPathLookupKeepsPathsLongerThanMaxPath) {
    const ItemIdList windows(specialFolder(CSIDL_WINDOWS));
    const std::optional<Text> path = fileSystemPathOf(windows, deepPathLookup);
    ASSERT_TRUE(path.has_value());
    EXPECT_EQ(path->size(), 403u);
}

}  // namespace
}  // namespace skl::test

extern const decltype(&SHBrowseForFolderW) browseForFolderSeam SKL_IMPORT_POINTER(SHBrowseForFolderW, 4) =
    skl::test::stubBrowseForFolder;
