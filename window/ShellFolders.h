#pragma once
// The window's lookup of the shell's special folders.

#include <cstdint>
#include <optional>

#include "capture/CaptureState.h"
#include "capture/Text.h"

namespace skl {

inline constexpr std::int32_t CSIDL_DESKTOPDIRECTORY = 16;
inline constexpr std::size_t MAX_PATH_CHARS = 260;

class SpecialFolders {
public:
    virtual ~SpecialFolders() = default;
    // The folder's file-system path; empty when it is not found or has none.
    virtual std::optional<Text> specialFolderPath(WindowHandle owner, std::int32_t folderId) = 0;
};

// Empty, or the path, one NUL and spaces up to the 260th character. A path too long
// for that form is kept whole, followed by its NUL.
Text GetSpecialFolderPath(SpecialFolders& folders, WindowHandle ownerHwnd, std::int32_t folderId);

}  // namespace skl
