#pragma once
// folderBrowser: the shell's modal folder dialog.

#include <optional>

#include "capture/CaptureState.h"
#include "capture/Text.h"

namespace skl {

class FolderDialog {
public:
    virtual ~FolderDialog() = default;
    // Shows the modal dialog owned by the window, offering only file-system folders.
    // Empty on Cancel; otherwise the path buffer as the shell filled it, NUL included
    // (a choice without a file-system path leaves it starting with NUL).
    virtual std::optional<Text> showFolderDialog(WindowHandle owner, const Text& prompt) = 0;
};

// The chosen folder's path without trailing NUL; empty on Cancel or when the choice
// has no file-system path.
inline Text BrowseForFolder(FolderDialog& dialog, WindowHandle ownerHwnd, const Text& prompt) {
    const std::optional<Text> buffer = dialog.showFolderDialog(ownerHwnd, prompt);
    return buffer ? cutAtNul(*buffer) : Text{};
}

}  // namespace skl
