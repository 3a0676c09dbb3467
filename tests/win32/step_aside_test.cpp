// The main window stepping aside through the real window calls: a top-level window
// of the test's own, minimised, then hidden as well, and restored to the frame it
// left, topmost still where it was.

#include <gtest/gtest.h>

#include "capture/win32/desktop_win32.h"

namespace skl::test {
namespace {

constexpr ScreenRect ownFrame{200, 150, 560, 430};

// A shown top-level window with a frame and title bar, destroyed with the object.
class OwnWindow {
public:
    explicit OwnWindow(DWORD extendedStyle = 0) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = className;
        RegisterClassW(&windowClass);
        window_ = CreateWindowExW(extendedStyle, className, L"Morvath's Skellimor", WS_OVERLAPPEDWINDOW,
                                  ownFrame.left, ownFrame.top, ownFrame.right - ownFrame.left,
                                  ownFrame.bottom - ownFrame.top, nullptr, nullptr, windowClass.hInstance, nullptr);
        ShowWindow(window_, SW_SHOWNORMAL);
    }
    ~OwnWindow() {
        DestroyWindow(window_);
        UnregisterClassW(className, GetModuleHandleW(nullptr));
    }
    OwnWindow(const OwnWindow&) = delete;
    OwnWindow& operator=(const OwnWindow&) = delete;

    HWND get() const { return window_; }

private:
    static constexpr const wchar_t* className = L"SkellimorStepAsideTest";
    HWND window_;
};

// Runs the window's messages until the condition holds, for at most two seconds.
template <typename Condition>
bool pumpUntil(Condition condition) {
    for (DWORD started = GetTickCount(); !condition();) {
        if (GetTickCount() - started > 2000) return false;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        Sleep(5);
    }
    return true;
}

bool isTopmost(HWND window) { return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

TEST(StepAsideWindow, LeavesMinimisedOrHiddenAndComesBackToTheSameFrame) {
    const OwnWindow own;
    ASSERT_NE(own.get(), nullptr);
    Win32StepAsideWindow aside;
    aside.setWindow(own.get());
    const StepAsideStart start = aside.observe();
    EXPECT_EQ(start.frame, ownFrame);
    EXPECT_FALSE(start.above);
    EXPECT_TRUE(aside.isBack(start));

    for (const Leaving how : {Leaving::Minimise, Leaving::AtOnce}) {
        SCOPED_TRACE(how == Leaving::Minimise ? "minimised" : "hidden");
        aside.leave(how, start);
        EXPECT_TRUE(pumpUntil([&] { return aside.hasLeft(); }));
        EXPECT_TRUE(IsIconic(own.get())) << "hidden after minimising, to come back where it was";
        EXPECT_EQ(IsWindowVisible(own.get()) != FALSE, how == Leaving::Minimise);
        EXPECT_EQ(aside.outerFrame(), std::nullopt);
        EXPECT_FALSE(aside.isBack(start));

        aside.comeBack(start);
        EXPECT_TRUE(pumpUntil([&] { return aside.isBack(start); }));
        EXPECT_EQ(aside.outerFrame(), ownFrame);
        EXPECT_FALSE(IsIconic(own.get()));
    }
}

TEST(StepAsideWindow, TopmostWindowStaysTopmostAndMovedWindowIsPutBack) {
    const OwnWindow own(WS_EX_TOPMOST);
    Win32StepAsideWindow aside;
    aside.setWindow(own.get());
    const StepAsideStart start = aside.observe();
    EXPECT_TRUE(start.above);
    aside.leave(Leaving::AtOnce, start);
    ASSERT_TRUE(pumpUntil([&] { return aside.hasLeft(); }));
    // Restored elsewhere, as a window manager may place a window shown anew.
    aside.comeBack(start);
    SetWindowPos(own.get(), nullptr, 20, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_FALSE(aside.isBack(start));
    aside.comeBack(start);
    EXPECT_TRUE(pumpUntil([&] { return aside.isBack(start); }));
    EXPECT_EQ(aside.outerFrame(), ownFrame);
    EXPECT_TRUE(isTopmost(own.get()));
    EXPECT_TRUE(aside.observe().above);
}

}  // namespace
}  // namespace skl::test
