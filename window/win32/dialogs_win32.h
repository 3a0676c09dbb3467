#pragma once
// Modal message boxes and the input box, owned by the main window.

#include <windows.h>

#include "capture/Ports.h"

namespace skl {

class Win32Dialogs final : public Dialogs {
public:
    explicit Win32Dialogs(HWND owner) : owner_(owner) {}
    void messageBox(const Text& prompt, MessageIcon icon, const Text& title) override;
    Text inputBox(const Text& prompt, const Text& title) override;

private:
    HWND owner_;
};

}  // namespace skl
