#pragma once
// The main window getting out of the picture and back on Windows. Minimised
// where it is clear of the grab; over the grab hidden as well, so that it leaves
// the screen at once. Where the desktop is composed (Vista on), the window is
// never animated on its way out or back, and the wait is for the compositor's
// next frames; dwmapi.dll is looked up at run time, so the program still starts
// where there is none (XP).

#include <windows.h>

#include <optional>

#include "capture/StepAside.h"
#include "capture/win32/system_win32.h"

namespace skl {

// The desktop compositor's calls, where the system has them.
class DesktopComposition {
public:
    DesktopComposition();
    // Whether the compositor draws the desktop now (the user may turn it off on Vista and 7).
    bool enabled() const;
    // Waits for the compositor's next frame; false where there is no compositor.
    bool flush() const;
    // The window is minimised and restored without the compositor's animation.
    void disableTransitions(HWND window) const;

private:
    using IsEnabledFunction = HRESULT(WINAPI*)(BOOL*);
    using FlushFunction = HRESULT(WINAPI*)();
    using SetAttributeFunction = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);

    LoadedLibrary library_;
    IsEnabledFunction isEnabled_ = nullptr;
    FlushFunction flush_ = nullptr;
    SetAttributeFunction setAttribute_ = nullptr;
};

class Win32StepAsideWindow final : public StepAsideWindow {
public:
    // The main window, once it exists.
    void setWindow(HWND window);

    // The system keeps a topmost window topmost while it is minimised or hidden, so
    // coming back asks for nothing of the kind.
    StepAsideStart observe() override;
    std::optional<ScreenRect> outerFrame() override;
    void leave(Leaving how, const StepAsideStart& start) override;
    bool hasLeft() override;
    bool awaitComposedFrame() override { return composition_.flush(); }
    void comeBack(const StepAsideStart& start) override;
    bool isBack(const StepAsideStart& start) override;

private:
    HWND window_ = nullptr;
    DesktopComposition composition_;
    // Wine hands minimising to the X window manager, which carries it out some
    // time after the call returns.
    bool minimisedLater_ = false;
};

}  // namespace skl
