#pragma once
// Text as the program handles it: wide characters, positions counted from 1; and
// UTF-8, how Linux names files and how X programs write window titles, to and from
// Text (one wide character per code point, or UTF-16 where wide characters have 16
// bits).

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace skl {

using Text = std::wstring;

inline constexpr const wchar_t* productTitle = L"Morvath's Skellimor";

// The last n characters of text; the whole text when it is shorter.
inline Text lastChars(const Text& text, std::size_t n) {
    return text.size() <= n ? text : text.substr(text.size() - n);
}

// The text of well-formed UTF-8; nothing for a malformed or truncated sequence, an
// overlong form, a surrogate or a value beyond U+10FFFF.
std::optional<Text> decodeUtf8(std::string_view bytes);

// The UTF-8 form of the text; nothing when it holds a value that is no Unicode
// scalar value (an unpaired surrogate, a negative value or one beyond U+10FFFF).
std::optional<std::string> encodeUtf8(const Text& text);

}  // namespace skl
