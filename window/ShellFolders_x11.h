#pragma once
// The special folders of the Linux edition: the desktop folder alone.

#include "window/ShellFolders.h"

namespace skl {

class XdgSpecialFolders final : public SpecialFolders {
public:
    std::optional<Text> specialFolderPath(WindowHandle owner, std::int32_t folderId) override;
};

}  // namespace skl
