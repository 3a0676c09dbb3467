#pragma once
// Text as the program handles it: wide characters, positions counted from 1.

#include <cstddef>
#include <string>

namespace skl {

using Text = std::wstring;

inline constexpr const wchar_t* productTitle = L"Morvath's Skellimor";

// The last n characters of text; the whole text when it is shorter.
inline Text lastChars(const Text& text, std::size_t n) {
    return text.size() <= n ? text : text.substr(text.size() - n);
}

// Text up to, not including, its first NUL character.
inline Text cutAtNul(const Text& text) {
    return text.substr(0, text.find(L'\0'));
}

}  // namespace skl
