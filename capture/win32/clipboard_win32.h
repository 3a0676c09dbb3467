#pragma once
// The clipboard of the Windows edition: the bitmap goes on it in the bitmap format
// (CF_BITMAP), and the clipboard owns it from then on.

#include <windows.h>

#include "capture/Ports.h"

namespace skl {

// Opens the clipboard on behalf of the owner window, so that no other program can
// change it between emptying and placing the bitmap.
class Win32Clipboard final : public Clipboard {
public:
    explicit Win32Clipboard(HWND owner) : owner_(owner) {}
    bool tryPutBitmap(GrabbedBitmap& bitmap) override;

private:
    HWND owner_;
};

}  // namespace skl
