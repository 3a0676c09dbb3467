#pragma once
// What Windows makes of a file's path beyond the folders it names: some names it
// treats specially, whatever the file system below. A colon opens an alternate
// data stream of a file named by what precedes it (the picture would go into a
// hidden part of a file "bob", which the user sees empty); names of devices (CON,
// LPT1, ...) open the device; a trailing dot or space is dropped. Such names are
// refused before anything is created. Paths of MAX_PATH characters or more are
// written in their extended-length form, which the wide file calls accept. The
// file store itself (Win32FileStore) is declared with the other ports in
// desktop_win32.h.

#include <optional>

#include "capture/Text.h"

namespace skl {

// Why Windows would not store a file under this path as named, in plain words;
// nothing when it would. Only the parts after the drive or share are judged.
std::optional<Text> windowsNameProblem(const Text& path);

// The shortest MAX_PATH of the file calls: a path this long or longer needs the
// extended-length form.
inline constexpr std::size_t windowsPathLimit = 260;

// The path as the wide file calls take it: itself while shorter than the limit,
// else in the extended-length form ("\\?\C:\...", "\\?\UNC\server\share\...");
// nothing for a long path that form cannot express (relative, or with "." or ".."
// parts, which it does not resolve).
std::optional<Text> windowsFileCallPath(const Text& path);

}  // namespace skl
