// The screen grab opens the display in the form the system family needs: the
// non-NT form names device and output "0", the NT form gives null pointers for
// both. CreateDCW is recorded and then really called.

#include <gtest/gtest.h>

#include "ImportSeam.h"
#include "capture/win32/desktop_win32.h"

namespace skl::test {
namespace {

struct CreateDcCall {
    std::optional<std::wstring> driver, device, output;
    bool withDeviceMode = false;
};

HDC WINAPI recordCreateDc(LPCWSTR driver, LPCWSTR device, LPCWSTR output, const DEVMODEW* mode) {
    recordedCalls<CreateDcCall>().push_back({textOrNull(driver), textOrNull(device), textOrNull(output), mode != nullptr});
    static const auto real = realFunction<decltype(&CreateDCW)>(L"gdi32.dll", "CreateDCW");
    return real(driver, device, output, mode);
}

std::vector<CreateDcCall> displayOpenedFor(PlatformFamily family) {
    recordedCalls<CreateDcCall>().clear();
    Win32ScreenGrabber(family).grab(ScreenRect{0, 0, 4, 3});
    return recordedCalls<CreateDcCall>();
}

TEST(ScreenGrab, NtFamilyOpensTheDisplayWithoutDeviceOrOutput) {
    const std::vector<CreateDcCall> calls = displayOpenedFor(PlatformFamily::WindowsNT);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].driver, std::wstring(L"DISPLAY"));
    EXPECT_EQ(calls[0].device, std::nullopt);
    EXPECT_EQ(calls[0].output, std::nullopt);
    EXPECT_FALSE(calls[0].withDeviceMode);
}

TEST(ScreenGrab, OlderFamilyOpensDeviceAndOutputZero) {
    const std::vector<CreateDcCall> calls = displayOpenedFor(PlatformFamily::Windows9x);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].driver, std::wstring(L"DISPLAY"));
    EXPECT_EQ(calls[0].device, std::wstring(L"0"));
    EXPECT_EQ(calls[0].output, std::wstring(L"0"));
    EXPECT_FALSE(calls[0].withDeviceMode);
}

}  // namespace
}  // namespace skl::test

extern const decltype(&CreateDCW) createDcSeam SKL_IMPORT_POINTER(CreateDCW, 16) = skl::test::recordCreateDc;
