#pragma once
// How another program's window title is read from its name properties. The bytes
// come from programs outside ours: whatever they hold, a title is either read
// exactly or not at all, so a malformed name never matches.

#include <optional>
#include <string_view>

#include "Text.h"

namespace skl {

// How the bytes of a name property are encoded, from its name and type.
enum class NameEncoding {
    Utf8,          // _NET_WM_NAME whatever its type, and WM_NAME of type UTF8_STRING
    String,        // WM_NAME of type STRING: Latin-1, or the UTF-8 that some programs write there
    CompoundText,  // WM_NAME of type COMPOUND_TEXT: only its plain Latin-1 form is read
    Unreadable,    // WM_NAME of any other type, and 16- or 32-bit values
};

// One name property as read from the window.
struct NameProperty {
    bool present = false;
    NameEncoding encoding = NameEncoding::Unreadable;
    std::string_view bytes;
    bool complete = true;  // false when the property holds more than was read
};

// The title the bytes hold; nothing when they are not text in their encoding or
// hold a NUL (which in a name property separates list items, so no one title).
std::optional<Text> decodeWindowName(NameEncoding encoding, std::string_view bytes);

// Whether a window whose name properties are these is titled exactly `title`. Its
// title is its _NET_WM_NAME when it has one, else its WM_NAME.
bool hasTitle(const NameProperty& netWmName, const NameProperty& wmName, const Text& title);

}  // namespace skl
