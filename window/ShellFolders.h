#pragma once
// Where the user's own folders lie.

#include <optional>

#include "capture/Text.h"

namespace skl {

class SpecialFolders {
public:
    virtual ~SpecialFolders() = default;
    // The file-system path of the folder that holds the user's desktop items;
    // nothing when the system knows none.
    virtual std::optional<Text> desktopFolderPath() = 0;
};

}  // namespace skl
