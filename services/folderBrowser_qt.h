#pragma once
// The folder picker of the Linux edition: a modal chooser of the file system's
// folders, owned by the main window, with the prompt above the folder tree.

#include <QWidget>

#include "services/folderBrowser.h"

namespace skl {

class QtFolderDialog final : public FolderDialog {
public:
    explicit QtFolderDialog(QWidget& owner) : owner_(owner) {}
    // The chosen folder's path; empty on Cancel. It opens at the home folder.
    std::optional<Text> showFolderDialog(WindowHandle owner, const Text& prompt) override;

private:
    QWidget& owner_;
};

}  // namespace skl
