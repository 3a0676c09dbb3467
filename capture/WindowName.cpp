#include "WindowName.h"

#include <algorithm>

#include "Text.h"

namespace skl {
namespace {

Text latin1(std::string_view bytes) {
    Text text(bytes.size(), L'\0');
    std::transform(bytes.begin(), bytes.end(), text.begin(),
                   [](char byte) { return static_cast<wchar_t>(static_cast<unsigned char>(byte)); });
    return text;
}

// Compound text starts out as ASCII with Latin-1's upper half; escape sequences (ESC)
// and control sequences (CSI and the other C1 controls) switch to other character
// sets, which are not read.
bool isPlainCompoundText(std::string_view bytes) {
    return std::none_of(bytes.begin(), bytes.end(), [](char byte) {
        const auto value = static_cast<unsigned char>(byte);
        return value == 0x1B || (value >= 0x80 && value <= 0x9F);
    });
}

}  // namespace

std::optional<Text> decodeWindowName(NameEncoding encoding, std::string_view bytes) {
    if (bytes.find('\0') != std::string_view::npos) return std::nullopt;
    switch (encoding) {
        case NameEncoding::Utf8:
            return decodeUtf8(bytes);
        case NameEncoding::String:
            // Latin-1 text that is also well-formed UTF-8 beyond ASCII is rare enough
            // that such bytes are taken for the UTF-8 they look like.
            if (auto text = decodeUtf8(bytes)) return text;
            return latin1(bytes);
        case NameEncoding::CompoundText:
            if (!isPlainCompoundText(bytes)) return std::nullopt;
            return latin1(bytes);
        case NameEncoding::Unreadable:
            break;
    }
    return std::nullopt;
}

bool hasTitle(const NameProperty& netWmName, const NameProperty& wmName, const Text& title) {
    const NameProperty& name = netWmName.present ? netWmName : wmName;
    if (!name.present || !name.complete) return false;
    const std::optional<Text> decoded = decodeWindowName(name.encoding, name.bytes);
    return decoded && *decoded == title;
}

}  // namespace skl
