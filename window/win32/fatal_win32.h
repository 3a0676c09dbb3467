#pragma once
// What the Windows program does when it cannot go on: it says why in a message box
// and ends with status 1. The procedures the system calls (the windows' and the
// dialogs') run what may throw through guarded(), so that nothing unwinds through
// the system's frames.

#include <windows.h>

namespace skl {

// A modal message box with the reason, titled with the program's name and owned
// by the window (none: no owner), which it disables while it shows.
void tellWhyTheProgramEnds(HWND owner, const wchar_t* why) noexcept;

// For the exception being handled: tells the user that the program met a fault it
// cannot recover from, and ends the event loop with status 1. What the throwing
// handler held has been released by then, as its frames unwound; the windows close
// as they do at Exit.
void endAfterFault(HWND window) noexcept;

// The body's result; where it throws, the fault ends the program and the procedure
// answers `onFault`.
template <typename Result, typename Body>
Result guarded(HWND window, Result onFault, Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        endAfterFault(window);
        return onFault;
    }
}

}  // namespace skl
