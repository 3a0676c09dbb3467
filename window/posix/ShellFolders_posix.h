#pragma once
// The user's folders in the Linux edition, by the XDG user directories.

#include "window/ShellFolders.h"

namespace skl {

class XdgSpecialFolders final : public SpecialFolders {
public:
    std::optional<Text> desktopFolderPath() override;
};

}  // namespace skl
