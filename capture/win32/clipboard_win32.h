#pragma once
// The clipboard of the Windows edition: the picture goes on it as a bitmap in the
// bitmap format (CF_BITMAP), which the clipboard owns from then on.

#include <windows.h>

#include "capture/Ports.h"

namespace skl {

// Opens the clipboard on behalf of the owner window, so that no other program can
// change it between emptying and placing the bitmap.
class Win32Clipboard final : public Clipboard {
public:
    explicit Win32Clipboard(HWND owner) : owner_(owner) {}
    bool tryPutBitmap(const Picture& picture) override;

private:
    HWND owner_;
};

}  // namespace skl
