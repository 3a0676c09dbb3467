#include "Text.h"

#include <cstdint>

namespace skl {
namespace {

// Text holds one code point per character where wchar_t has 32 bits (Linux) and
// UTF-16, with surrogate pairs beyond U+FFFF, where it has 16 (Windows).
constexpr bool textIsUtf16 = sizeof(wchar_t) == 2;

constexpr std::uint32_t maxCodePoint = 0x10FFFF;

bool isScalarValue(std::uint32_t codePoint) {
    return codePoint <= maxCodePoint && (codePoint < 0xD800 || codePoint > 0xDFFF);
}

char byteOf(std::uint32_t value) {
    return static_cast<char>(static_cast<unsigned char>(value));
}

}  // namespace

std::optional<Text> decodeUtf8(std::string_view bytes) {
    Text text;
    text.reserve(bytes.size());
    std::size_t at = 0;
    while (at < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[at]);
        std::size_t length = 0;
        std::uint32_t codePoint = 0;
        std::uint32_t smallest = 0;  // below this the sequence is an overlong form
        if (lead < 0x80) {
            length = 1;
            codePoint = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            codePoint = lead & 0x1Fu;
            smallest = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            codePoint = lead & 0x0Fu;
            smallest = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            codePoint = lead & 0x07u;
            smallest = 0x10000;
        } else {
            return std::nullopt;  // a continuation byte without its lead, or 0xF8-0xFF
        }
        if (bytes.size() - at < length) return std::nullopt;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[at + k]);
            if ((next & 0xC0) != 0x80) return std::nullopt;
            codePoint = codePoint << 6 | (next & 0x3Fu);
        }
        if (codePoint < smallest || !isScalarValue(codePoint)) return std::nullopt;
        if (textIsUtf16 && codePoint >= 0x10000) {
            text.push_back(static_cast<wchar_t>(0xD800 + ((codePoint - 0x10000) >> 10)));
            text.push_back(static_cast<wchar_t>(0xDC00 + (codePoint & 0x3FF)));
        } else {
            text.push_back(static_cast<wchar_t>(codePoint));
        }
        at += length;
    }
    return text;
}

std::optional<std::string> encodeUtf8(const Text& text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        auto codePoint = static_cast<std::uint32_t>(text[at]);  // a negative value becomes huge
        if (textIsUtf16 && codePoint >= 0xD800 && codePoint < 0xDC00 && at + 1 < text.size()) {
            const auto low = static_cast<std::uint32_t>(text[at + 1]);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                codePoint = 0x10000 + ((codePoint - 0xD800) << 10 | (low - 0xDC00));
                ++at;
            }
        }
        if (!isScalarValue(codePoint)) return std::nullopt;
        if (codePoint < 0x80) {
            bytes += byteOf(codePoint);
        } else if (codePoint < 0x800) {
            bytes += byteOf(0xC0 | codePoint >> 6);
            bytes += byteOf(0x80 | (codePoint & 0x3F));
        } else if (codePoint < 0x10000) {
            bytes += byteOf(0xE0 | codePoint >> 12);
            bytes += byteOf(0x80 | (codePoint >> 6 & 0x3F));
            bytes += byteOf(0x80 | (codePoint & 0x3F));
        } else {
            bytes += byteOf(0xF0 | codePoint >> 18);
            bytes += byteOf(0x80 | (codePoint >> 12 & 0x3F));
            bytes += byteOf(0x80 | (codePoint >> 6 & 0x3F));
            bytes += byteOf(0x80 | (codePoint & 0x3F));
        }
    }
    return bytes;
}

}  // namespace skl
