#include "capture/desktop_win32.h"

namespace skl {

LocalTime Win32Clock::localNow() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

std::int64_t Win32Clock::monotonicMilliseconds() {
    return static_cast<std::int64_t>(GetTickCount64());
}

void Win32Clock::sleepMilliseconds(int milliseconds) {
    Sleep(static_cast<DWORD>(milliseconds));
}

}  // namespace skl
