#include "Utf8.h"

#include <cstdint>

namespace skl {
namespace {

static_assert(sizeof(wchar_t) == 4, "Text holds one code point per character");

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
        text.push_back(static_cast<wchar_t>(codePoint));
        at += length;
    }
    return text;
}

std::optional<std::string> encodeUtf8(const Text& text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (const wchar_t character : text) {
        const auto codePoint = static_cast<std::uint32_t>(character);  // a negative value becomes huge
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
