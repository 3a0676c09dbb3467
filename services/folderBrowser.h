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
    // The chosen folder's path; nothing on Cancel or for a choice without a path in
    // the file system.
    virtual std::optional<Text> showFolderDialog(WindowHandle owner, const Text& prompt) = 0;
};

}  // namespace skl
