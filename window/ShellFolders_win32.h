#pragma once
// The shell's special folders.

#include "window/ShellFolders.h"

namespace skl {

class Win32SpecialFolders final : public SpecialFolders {
public:
    std::optional<Text> specialFolderPath(WindowHandle owner, std::int32_t folderId) override;
};

}  // namespace skl
