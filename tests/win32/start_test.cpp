// The program's start and its end where it cannot go on: the family the start-up
// finds, a main window that cannot be made, and a fault in a handler that the
// system called. MessageBoxW is recorded and answered at once, so that no box
// waits for a user; CreateWindowExW and RegisterClassExW fail while a test says
// so, and otherwise are really called.

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "ImportSeam.h"
#include "services/win32/services_win32.h"
#include "window/win32/fatal_win32.h"

namespace skl::test {
namespace {

struct MessageBoxCall {
    HWND owner;
    std::wstring text, caption;
    UINT type;
};

int WINAPI recordMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    recordedCalls<MessageBoxCall>().push_back({owner, text, caption, type});
    return IDOK;
}

enum class Refused { nothing, windows, classes };

Refused& refused() {
    static Refused what = Refused::nothing;
    return what;
}

HWND WINAPI createWindowUnlessRefused(DWORD exStyle, LPCWSTR className, LPCWSTR name, DWORD style, int x, int y,
                                      int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                                      LPVOID parameter) {
    if (refused() == Refused::windows) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    static const auto real = realFunction<decltype(&CreateWindowExW)>(L"user32.dll", "CreateWindowExW");
    return real(exStyle, className, name, style, x, y, width, height, parent, menu, instance, parameter);
}

ATOM WINAPI registerClassUnlessRefused(const WNDCLASSEXW* windowClass) {
    if (refused() == Refused::classes) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    static const auto real = realFunction<decltype(&RegisterClassExW)>(L"user32.dll", "RegisterClassExW");
    return real(windowClass);
}

// The exit code of a quit message waiting for this thread's event loop, which it
// takes away; nothing when none waits.
std::optional<WPARAM> takeQuitMessage() {
    MSG message;
    std::optional<WPARAM> code;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) code = message.wParam;
    }
    return code;
}

TEST(Start, TheRunningSystemIsOfTheNtFamily) {
    const OsVersion version = runningSystemVersion();
    EXPECT_EQ(version.platformId, 2);
    EXPECT_GE(version.majorVersion, 5);
    EXPECT_EQ(platformFamilyOf(version), PlatformFamily::WindowsNT);
}

// A program whose window cannot be made must not wait in its event loop with no
// window: a quit message already waits, so that a program that does returns its
// code (7) rather than hanging the test.
TEST(Start, WithoutItsWindowTheProgramSaysSoAndEndsWithStatusOne) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    for (const Refused failing : {Refused::windows, Refused::classes}) {
        SCOPED_TRACE(failing == Refused::windows ? "window refused" : "window class refused");
        // Classes stay registered from an earlier run in this process.
        for (const wchar_t* name : {L"MorvathsSkellimorForm1", L"MorvathsSkellimorPictureBox", L"MorvathsSkellimorFrame"}) {
            UnregisterClassW(name, instance);
        }
        recordedCalls<MessageBoxCall>().clear();
        PostQuitMessage(7);
        refused() = failing;
        const int status = wWinMain(instance, nullptr, const_cast<PWSTR>(L""), SW_SHOWNORMAL);
        refused() = Refused::nothing;
        takeQuitMessage();

        EXPECT_EQ(status, 1);
        const std::vector<MessageBoxCall>& boxes = recordedCalls<MessageBoxCall>();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].owner, nullptr);
        EXPECT_EQ(boxes[0].caption, L"Morvath's Skellimor");
        EXPECT_EQ(boxes[0].text, L"Windows did not create the program's window, so the program cannot run.");
        EXPECT_EQ(boxes[0].type, UINT{MB_OK | MB_ICONERROR});
    }
}

// A window procedure that throws from its handler of WM_APP, through guarded().
LRESULT CALLBACK throwingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message != WM_APP) return DefWindowProcW(window, message, wParam, lParam);
    return guarded(window, LRESULT{-5}, [wParam]() -> LRESULT {
        if (wParam == 0) throw std::runtime_error("the handler broke");
        if (wParam == 1) throw 42;
        return 3;
    });
}

TEST(Start, AFaultInAHandlerIsToldAndEndsTheEventLoopWithStatusOne) {
    // A window that only takes messages: the tests run without a display.
    const HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&throwingProcedure));
    takeQuitMessage();
    recordedCalls<MessageBoxCall>().clear();

    EXPECT_EQ(SendMessageW(window, WM_APP, 2, 0), 3);
    EXPECT_TRUE(recordedCalls<MessageBoxCall>().empty());
    EXPECT_EQ(takeQuitMessage(), std::nullopt);

    EXPECT_EQ(SendMessageW(window, WM_APP, 0, 0), -5);
    EXPECT_EQ(takeQuitMessage(), WPARAM{1});
    EXPECT_EQ(SendMessageW(window, WM_APP, 1, 0), -5);
    EXPECT_EQ(takeQuitMessage(), WPARAM{1});

    const std::vector<MessageBoxCall>& boxes = recordedCalls<MessageBoxCall>();
    ASSERT_EQ(boxes.size(), 2u);
    const std::wstring prompt = L"The program met a fault it cannot recover from, and ends now.";
    EXPECT_EQ(boxes[0].text, prompt + L"\n\nthe handler broke");
    EXPECT_EQ(boxes[1].text, prompt);  // a fault that does not say what it is
    for (const MessageBoxCall& box : boxes) {
        EXPECT_EQ(box.owner, window);
        EXPECT_EQ(box.caption, L"Morvath's Skellimor");
        EXPECT_EQ(box.type, UINT{MB_OK | MB_ICONERROR});
    }
    DestroyWindow(window);
}

}  // namespace
}  // namespace skl::test

extern const decltype(&MessageBoxW) messageBoxSeam SKL_IMPORT_POINTER(MessageBoxW, 16) = skl::test::recordMessageBox;
extern const decltype(&CreateWindowExW) createWindowSeam SKL_IMPORT_POINTER(CreateWindowExW, 48) =
    skl::test::createWindowUnlessRefused;
extern const decltype(&RegisterClassExW) registerClassSeam SKL_IMPORT_POINTER(RegisterClassExW, 4) =
    skl::test::registerClassUnlessRefused;
