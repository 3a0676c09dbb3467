#include "capture/win32/desktop_win32.h"

namespace skl {

std::int64_t countsToMilliseconds(std::int64_t counts, std::int64_t perSecond) {
    // Whole seconds and the rest apart: counts * 1000 alone overflows after months
    // of uptime with a counter running at processor speed.
    return counts / perSecond * 1000 + counts % perSecond * 1000 / perSecond;
}

LocalTime Win32Clock::localNow() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

// The performance counter: monotonic, and present on every Windows from XP on
// (where the call cannot fail), unlike GetTickCount64.
std::int64_t Win32Clock::monotonicMilliseconds() {
    LARGE_INTEGER counts{};
    LARGE_INTEGER perSecond{};
    QueryPerformanceCounter(&counts);
    QueryPerformanceFrequency(&perSecond);
    return countsToMilliseconds(counts.QuadPart, perSecond.QuadPart);
}

void Win32Clock::sleepMilliseconds(int milliseconds) {
    Sleep(static_cast<DWORD>(milliseconds));
}

}  // namespace skl
