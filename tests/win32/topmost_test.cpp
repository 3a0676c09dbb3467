// The topmost switch moves the window into the topmost band or out of it and
// leaves its place and size alone. SetWindowPos is recorded and then really
// called (on a handle of no window, so nothing on the screen changes).

#include <gtest/gtest.h>

#include "ImportSeam.h"
#include "capture/win32/system_win32.h"
#include "services/win32/services_win32.h"

namespace skl::test {
namespace {

struct SetWindowPosCall {
    HWND window, insertAfter;
    int x, y, cx, cy;
    UINT flags;
};

BOOL WINAPI recordSetWindowPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    recordedCalls<SetWindowPosCall>().push_back({window, insertAfter, x, y, cx, cy, flags});
    static const auto real = realFunction<decltype(&SetWindowPos)>(L"user32.dll", "SetWindowPos");
    return real(window, insertAfter, x, y, cx, cy, flags);
}

TEST(TopmostBand, SwitchesTheBandWithoutMovingOrSizingTheWindow) {
    constexpr WindowHandle window = 0x000200A4;
    for (const bool topmost : {true, false}) {
        SCOPED_TRACE(topmost ? "on" : "off");
        recordedCalls<SetWindowPosCall>().clear();
        Win32TopmostBand().setTopmost(window, topmost);
        const std::vector<SetWindowPosCall>& calls = recordedCalls<SetWindowPosCall>();
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].window, toHwnd(window));
        EXPECT_EQ(calls[0].insertAfter, topmost ? HWND_TOPMOST : HWND_NOTOPMOST);
        EXPECT_EQ(calls[0].x, 0);
        EXPECT_EQ(calls[0].y, 0);
        EXPECT_EQ(calls[0].cx, 0);
        EXPECT_EQ(calls[0].cy, 0);
        EXPECT_EQ(calls[0].flags, UINT{SWP_NOSIZE | SWP_NOMOVE});
    }
}

}  // namespace
}  // namespace skl::test

extern const decltype(&SetWindowPos) setWindowPosSeam SKL_IMPORT_POINTER(SetWindowPos, 28) =
    skl::test::recordSetWindowPos;
