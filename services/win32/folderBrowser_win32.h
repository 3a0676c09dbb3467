#pragma once
// The shell's folder dialog.

#include "services/folderBrowser.h"

namespace skl {

class Win32FolderDialog final : public FolderDialog {
public:
    std::optional<Text> showFolderDialog(WindowHandle owner, const Text& prompt) override;
};

}  // namespace skl
