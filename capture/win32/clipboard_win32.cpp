#include "capture/win32/clipboard_win32.h"

#include "capture/win32/desktop_win32.h"

namespace skl {

bool Win32Clipboard::tryPutBitmap(GrabbedBitmap& grabbed) {
    // Every bitmap of this edition comes from Win32ScreenGrabber, so the clipboard
    // can take its GDI bitmap over rather than build another from the pixels.
    auto& bitmap = static_cast<Win32GrabbedBitmap&>(grabbed);
    if (!OpenClipboard(owner_)) return false;
    const bool placed = EmptyClipboard() && SetClipboardData(CF_BITMAP, bitmap.handle()) != nullptr;
    CloseClipboard();
    if (placed) bitmap.handOver();  // the clipboard owns it now
    return placed;
}

}  // namespace skl
