// The clipboard takes the picture as a bitmap in the bitmap format, which it owns
// from then on, and says so when another program holds it open.

#include <gtest/gtest.h>

#include "capture/win32/desktop_win32.h"

namespace skl::test {
namespace {

// A window that only takes messages (the tests run without a display): the
// clipboard's owner.
struct HiddenWindow {
    HiddenWindow()
        : handle(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, nullptr, nullptr)) {}
    ~HiddenWindow() { DestroyWindow(handle); }
    HiddenWindow(const HiddenWindow&) = delete;
    HiddenWindow& operator=(const HiddenWindow&) = delete;
    HWND handle;
};

// The pixels of the clipboard's bitmap, read as the picture's layout; nothing when
// it holds no bitmap.
std::optional<Picture> clipboardPicture() {
    if (!OpenClipboard(nullptr)) return std::nullopt;
    std::optional<Picture> picture;
    const auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    BITMAP size{};
    if (bitmap && GetObjectW(bitmap, sizeof size, &size) == sizeof size) {
        Picture read{size.bmWidth, size.bmHeight,
                     std::vector<std::uint32_t>(static_cast<std::size_t>(size.bmWidth) * size.bmHeight)};
        BITMAPINFO info = topDown32(read.width, read.height);
        const HDC screen = GetDC(nullptr);
        if (GetDIBits(screen, bitmap, 0, static_cast<UINT>(read.height), read.pixels.data(), &info, DIB_RGB_COLORS) ==
            read.height) {
            for (std::uint32_t& pixel : read.pixels) pixel &= 0xFFFFFF;
            picture = std::move(read);
        }
        ReleaseDC(nullptr, screen);
    }
    CloseClipboard();
    return picture;
}

// Another thread stands for the other program: it opens the clipboard and keeps it
// open until told to let go.
struct ClipboardHolder {
    HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE letGo = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    BOOL open = FALSE;
};

DWORD WINAPI holdClipboardOpen(void* parameter) {
    auto& holder = *static_cast<ClipboardHolder*>(parameter);
    holder.open = OpenClipboard(nullptr);
    SetEvent(holder.opened);
    WaitForSingleObject(holder.letGo, INFINITE);
    if (holder.open) CloseClipboard();
    return 0;
}

TEST(Clipboard, HoldsThePictureAsABitmap) {
    const HiddenWindow owner;
    ASSERT_NE(owner.handle, nullptr);
    const Picture picture{3, 2, {0x102030, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000}};
    ASSERT_TRUE(Win32Clipboard(owner.handle).tryPutBitmap(picture));
    const std::optional<Picture> held = clipboardPicture();
    ASSERT_TRUE(held.has_value());
    EXPECT_EQ(held->width, 3);
    EXPECT_EQ(held->height, 2);
    EXPECT_EQ(held->pixels, picture.pixels);
}

TEST(Clipboard, HeldOpenByAnotherProgramItRefusesAndKeepsItsContent) {
    const HiddenWindow owner;
    const Picture first{1, 1, {0x123456}};
    ASSERT_TRUE(Win32Clipboard(owner.handle).tryPutBitmap(first));
    ClipboardHolder holder;
    const HANDLE thread = CreateThread(nullptr, 0, holdClipboardOpen, &holder, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    WaitForSingleObject(holder.opened, INFINITE);
    ASSERT_TRUE(holder.open);
    EXPECT_FALSE(Win32Clipboard(owner.handle).tryPutBitmap(Picture{1, 1, {0xABCDEF}}));
    SetEvent(holder.letGo);
    WaitForSingleObject(thread, INFINITE);
    for (const HANDLE handle : {thread, holder.opened, holder.letGo}) CloseHandle(handle);

    const std::optional<Picture> held = clipboardPicture();
    ASSERT_TRUE(held.has_value());
    EXPECT_EQ(held->pixels, first.pixels);
}

}  // namespace
}  // namespace skl::test
