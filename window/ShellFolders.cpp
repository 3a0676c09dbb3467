#include "ShellFolders.h"

namespace skl {

Text GetSpecialFolderPath(SpecialFolders& folders, WindowHandle ownerHwnd, std::int32_t folderId) {
    const std::optional<Text> path = folders.specialFolderPath(ownerHwnd, folderId);
    if (!path) return {};
    Text result = *path + L'\0';
    if (result.size() < MAX_PATH_CHARS) result.resize(MAX_PATH_CHARS, L' ');
    return result;
}

}  // namespace skl
