#pragma once
// GoogleTest's thread-safe form on Windows (the one it builds in MinGW) needs a
// Notification, which it makes of std::mutex and std::condition_variable. The C++
// library of the win32 thread model has neither, so this one, made of a Win32
// event, takes its place; it is included ahead of every GoogleTest source.

#include <windows.h>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing::internal {

class Notification {
public:
    Notification() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~Notification() { CloseHandle(event_); }
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    void Notify() { SetEvent(event_); }
    void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }

private:
    HANDLE event_;
};

}  // namespace testing::internal
