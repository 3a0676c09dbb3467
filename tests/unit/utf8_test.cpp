// UTF-8 to and from Text: every form a well-behaved program writes, and every
// malformed sequence refused rather than read as something else. The same cases
// run where Text is UTF-16 (the Windows build's layer tests).

#include <gtest/gtest.h>

#include "capture/Text.h"

namespace skl {
namespace {

TEST(Utf8, RoundTripsEveryLengthOfSequence) {
    const Text text = L"A\u00e9\u20ac\U0001F600";  // 1, 2, 3 and 4 bytes
    const std::string bytes = "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";
    EXPECT_EQ(encodeUtf8(text), bytes);
    EXPECT_EQ(decodeUtf8(bytes), text);
    EXPECT_EQ(decodeUtf8(""), Text{});
    EXPECT_EQ(decodeUtf8(std::string_view("a\0b", 3)), Text(L"a\0b", 3));
}

TEST(Utf8, BoundariesOfEachLengthDecode) {
    EXPECT_EQ(decodeUtf8("\x7F"), Text(1, wchar_t{0x7F}));
    EXPECT_EQ(decodeUtf8("\xC2\x80"), Text(1, wchar_t{0x80}));
    EXPECT_EQ(decodeUtf8("\xDF\xBF"), Text(1, wchar_t{0x7FF}));
    EXPECT_EQ(decodeUtf8("\xE0\xA0\x80"), Text(1, wchar_t{0x800}));
    EXPECT_EQ(decodeUtf8("\xED\x9F\xBF"), Text(1, wchar_t{0xD7FF}));
    EXPECT_EQ(decodeUtf8("\xEE\x80\x80"), Text(1, wchar_t{0xE000}));
    EXPECT_EQ(decodeUtf8("\xEF\xBF\xBF"), Text(1, wchar_t{0xFFFF}));
    EXPECT_EQ(decodeUtf8("\xF0\x90\x80\x80"), Text(L"\U00010000"));
    EXPECT_EQ(decodeUtf8("\xF4\x8F\xBF\xBF"), Text(L"\U0010FFFF"));
}

TEST(Utf8, MalformedInputIsRefused) {
    for (const std::string_view bad : {
             std::string_view("\x80"),              // continuation without a lead
             std::string_view("abc\xBF"),           // ... at the end
             std::string_view("\xC3"),              // truncated two-byte sequence
             std::string_view("\xE2\x82"),          // truncated three-byte sequence
             std::string_view("\xF0\x9F\x98"),      // truncated four-byte sequence
             std::string_view("\xC3\xA9", 1),        // cut short where the bytes read end
             std::string_view("\xE2\x82\xAC", 2),
             std::string_view("\xC3(x"),            // lead followed by no continuation
             std::string_view("\xC0\x80"),          // overlong NUL
             std::string_view("\xC1\xBF"),          // overlong 0x7F
             std::string_view("\xE0\x9F\xBF"),      // overlong 0x7FF
             std::string_view("\xF0\x8F\xBF\xBF"),  // overlong 0xFFFF
             std::string_view("\xED\xA0\x80"),      // surrogate D800
             std::string_view("\xED\xBF\xBF"),      // surrogate DFFF
             std::string_view("\xF4\x90\x80\x80"),  // beyond U+10FFFF
             std::string_view("\xF8\x88\x80\x80\x80"),
             std::string_view("\xFE"),
             std::string_view("\xFF"),
             std::string_view("Webcam for caf\xE9"),  // Latin-1
         }) {
        EXPECT_EQ(decodeUtf8(bad), std::nullopt) << testing::PrintToString(std::string(bad));
    }
}

TEST(Utf8, TextThatIsNoUnicodeIsNotEncoded) {
    EXPECT_EQ(encodeUtf8(Text(1, wchar_t{0xD800})), std::nullopt);
    EXPECT_EQ(encodeUtf8(L"ok" + Text(1, wchar_t{0xDFFF})), std::nullopt);
    // A surrogate pair in the wrong order, or a high surrogate at the end, is no pair.
    EXPECT_EQ(encodeUtf8(Text{static_cast<wchar_t>(0xDC00), static_cast<wchar_t>(0xD800)}), std::nullopt);
    EXPECT_EQ(encodeUtf8(L"ok" + Text(1, static_cast<wchar_t>(0xD83D))), std::nullopt);
    if constexpr (sizeof(wchar_t) == 4) {
        EXPECT_EQ(encodeUtf8(Text(1, static_cast<wchar_t>(0x110000))), std::nullopt);
        EXPECT_EQ(encodeUtf8(Text(1, static_cast<wchar_t>(-1))), std::nullopt);
    }
    EXPECT_EQ(encodeUtf8(Text(L"a\0b", 3)), std::string("a\0b", 3));  // NUL is a character like any other
}

}  // namespace
}  // namespace skl
