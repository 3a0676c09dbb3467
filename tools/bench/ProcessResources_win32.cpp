#include "tools/bench/ProcessResources_win32.h"

#include <windows.h>
#include <psapi.h>

#include <cstdlib>
#include <cstring>

#include "capture/win32/system_win32.h"

namespace skl::bench {
namespace {

BOOL CALLBACK countChild(HWND, LPARAM count) {
    ++*reinterpret_cast<std::uint64_t*>(count);
    return TRUE;
}

BOOL CALLBACK countOwnWindow(HWND hwnd, LPARAM count) {
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (process == GetCurrentProcessId()) {
        ++*reinterpret_cast<std::uint64_t*>(count);
        EnumChildWindows(hwnd, countChild, count);
    }
    return TRUE;
}

// Wine does not count private bytes; its host's count of the process's private
// (anonymous) resident memory stands in, read through the drive that maps the
// host's file system.
SIZE_T residentAnonymousBytes() {
    const HANDLE file = CreateFileW(L"Z:\\proc\\self\\status", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    const FileHandle owned(file);
    char text[4096] = {};
    DWORD read = 0;
    if (!ReadFile(file, text, sizeof text - 1, &read, nullptr)) return 0;
    const char* field = std::strstr(text, "RssAnon:");
    return field ? static_cast<SIZE_T>(std::strtoull(field + 8, nullptr, 10)) * 1024 : 0;
}

}  // namespace

Resources measureWin32Resources() {
    // GDI handles are table indices; a handle without its upper word names any
    // live object in that slot, so the scan counts what the process holds even
    // where the system's own count is not kept.
    std::uint64_t gdiHandlesLive = 0;
    for (UINT_PTR index = 0x20; index <= 0xFFFF; ++index) {
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0) ++gdiHandlesLive;
    }
    std::uint64_t windowsOwned = 0;
    EnumWindows(countOwnWindow, reinterpret_cast<LPARAM>(&windowsOwned));
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    SIZE_T workingSet = 0;
    SIZE_T privateBytes = 0;
    if (GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory)) {
        workingSet = memory.WorkingSetSize;
        privateBytes = memory.PrivateUsage;
    }
    if (privateBytes == 0) privateBytes = residentAnonymousBytes();
    return {{"GDI", GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)},
            {"USER", GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)},
            {"GDI live", gdiHandlesLive},
            {"windows", windowsOwned},
            {"WS KiB", workingSet / 1024},
            {"private KiB", privateBytes / 1024}};
}

}  // namespace skl::bench
