#pragma once
// UTF-8, how Linux names files and how X programs write window titles, to and from
// Text (one wide character per code point, or UTF-16 where wide characters have 16 bits).

#include <optional>
#include <string>
#include <string_view>

#include "Text.h"

namespace skl {

// The text of well-formed UTF-8; nothing for a malformed or truncated sequence, an
// overlong form, a surrogate or a value beyond U+10FFFF.
std::optional<Text> decodeUtf8(std::string_view bytes);

// The UTF-8 form of the text; nothing when it holds a value that is no Unicode
// scalar value (an unpaired surrogate, a negative value or one beyond U+10FFFF).
std::optional<std::string> encodeUtf8(const Text& text);

}  // namespace skl
