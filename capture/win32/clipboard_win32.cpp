#include "capture/win32/desktop_win32.h"

namespace skl {
namespace {

// A bitmap in the screen's own format holding the picture, as a copy of the screen
// is made; none when the system has no room for it.
GdiBitmap bitmapFromPicture(const Picture& picture) {
    const WindowDc screen(nullptr);
    if (!screen) return {};
    GdiBitmap bitmap(CreateCompatibleBitmap(screen.get(), picture.width, picture.height));
    const BITMAPINFO info = topDown32(picture.width, picture.height);
    if (bitmap && SetDIBits(screen.get(), bitmap.get(), 0, static_cast<UINT>(picture.height), picture.pixels.data(),
                            &info, DIB_RGB_COLORS) != picture.height) {
        bitmap.reset();
    }
    return bitmap;
}

}  // namespace

bool Win32Clipboard::tryPutBitmap(const Picture& picture) {
    GdiBitmap bitmap = bitmapFromPicture(picture);
    if (!bitmap || !OpenClipboard(owner_)) return false;
    const bool placed = EmptyClipboard() && SetClipboardData(CF_BITMAP, bitmap.get()) != nullptr;
    CloseClipboard();
    if (placed) bitmap.release();  // the clipboard owns it now
    return placed;
}

}  // namespace skl
