#pragma once
// The folder picker of the Linux edition: a modal chooser of the file system's
// folders, owned by the window it is given, with the prompt above the folder tree.

#include "services/folderBrowser.h"

namespace skl {

class QtFolderDialog final : public FolderDialog {
public:
    // The chosen folder's path; nothing on Cancel. It opens at the home folder.
    std::optional<Text> showFolderDialog(WindowHandle owner, const Text& prompt) override;
};

}  // namespace skl
