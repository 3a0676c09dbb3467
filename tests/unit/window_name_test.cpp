// Reading another program's window title from its name properties: the encodings
// programs really use, and bytes that must never match a title.

#include <gtest/gtest.h>

#include "capture/WindowName.h"

namespace skl {
namespace {

NameProperty property(NameEncoding encoding, std::string_view bytes, bool complete = true) {
    return {true, encoding, bytes, complete};
}

const NameProperty absent{};

TEST(WindowNameDecoding, Utf8NamesAreReadStrictly) {
    EXPECT_EQ(decodeWindowName(NameEncoding::Utf8, "Webcam for caf\xC3\xA9"), L"Webcam for caf\u00e9");
    EXPECT_EQ(decodeWindowName(NameEncoding::Utf8, "Webcam for \xE5\xA4\xAA\xE9\x83\x8E"),
              L"Webcam for \u592a\u90ce");
    EXPECT_EQ(decodeWindowName(NameEncoding::Utf8, "Webcam for caf\xE9"), std::nullopt);
    EXPECT_EQ(decodeWindowName(NameEncoding::Utf8, "\xED\xA0\x80"), std::nullopt);
}

TEST(WindowNameDecoding, StringsAreLatin1UnlessTheyAreUtf8) {
    EXPECT_EQ(decodeWindowName(NameEncoding::String, "Webcam for caf\xE9"), L"Webcam for caf\u00e9");
    EXPECT_EQ(decodeWindowName(NameEncoding::String, "\xFF\xFE"), L"\u00ff\u00fe");
    // UTF-8 written into a STRING, as some programs do.
    EXPECT_EQ(decodeWindowName(NameEncoding::String, "Webcam for caf\xC3\xA9"), L"Webcam for caf\u00e9");
    EXPECT_EQ(decodeWindowName(NameEncoding::String, "Webcam for bob"), L"Webcam for bob");
}

TEST(WindowNameDecoding, CompoundTextIsReadOnlyInItsPlainForm) {
    EXPECT_EQ(decodeWindowName(NameEncoding::CompoundText, "Webcam for bob"), L"Webcam for bob");
    EXPECT_EQ(decodeWindowName(NameEncoding::CompoundText, "Webcam for caf\xE9"), L"Webcam for caf\u00e9");
    // An escape sequence switching to another character set (here JIS X 0208).
    EXPECT_EQ(decodeWindowName(NameEncoding::CompoundText, "Webcam for \x1B$)B\xC2\xC0"), std::nullopt);
    EXPECT_EQ(decodeWindowName(NameEncoding::CompoundText, "Webcam for \x9B" "1]bob"), std::nullopt);  // CSI
    EXPECT_EQ(decodeWindowName(NameEncoding::CompoundText, "a\x85"), std::nullopt);  // other C1 controls
}

TEST(WindowNameDecoding, NulsAndUnreadableTypesGiveNoTitle) {
    for (const NameEncoding encoding :
         {NameEncoding::Utf8, NameEncoding::String, NameEncoding::CompoundText, NameEncoding::Unreadable}) {
        EXPECT_EQ(decodeWindowName(encoding, std::string_view("Webcam for bob\0x", 16)), std::nullopt);
        EXPECT_EQ(decodeWindowName(encoding, std::string_view("Webcam for bob\0", 15)), std::nullopt);
    }
    EXPECT_EQ(decodeWindowName(NameEncoding::Unreadable, "Webcam for bob"), std::nullopt);
    EXPECT_EQ(decodeWindowName(NameEncoding::Utf8, ""), Text{});
}

TEST(WindowTitle, NetWmNameIsTheTitleWhenPresentElseWmName) {
    const Text title = L"Webcam for bob";
    EXPECT_TRUE(hasTitle(property(NameEncoding::Utf8, "Webcam for bob"), absent, title));
    EXPECT_TRUE(hasTitle(absent, property(NameEncoding::String, "Webcam for bob"), title));
    // A _NET_WM_NAME that differs hides a WM_NAME that would match, even an empty one.
    EXPECT_FALSE(hasTitle(property(NameEncoding::Utf8, "Webcam for bob (paused)"),
                          property(NameEncoding::String, "Webcam for bob"), title));
    EXPECT_FALSE(hasTitle(property(NameEncoding::Utf8, ""), property(NameEncoding::String, "Webcam for bob"), title));
    EXPECT_FALSE(hasTitle(property(NameEncoding::Unreadable, ""), property(NameEncoding::String, "Webcam for bob"),
                          title));
    EXPECT_FALSE(hasTitle(absent, absent, title));
    EXPECT_FALSE(hasTitle(absent, absent, L""));
}

TEST(WindowTitle, OnlyTheExactTitleMatches) {
    const Text title = L"Webcam for bob";
    for (const std::string_view other : {"Webcam for Bob", "Webcam for bob ", "Webcam for bo", "webcam for bob",
                                         "Webcam for bobby"}) {
        EXPECT_FALSE(hasTitle(property(NameEncoding::Utf8, other), absent, title)) << other;
        EXPECT_FALSE(hasTitle(absent, property(NameEncoding::String, other), title)) << other;
    }
    // The start of a longer name, as read when only that much is fetched.
    EXPECT_FALSE(hasTitle(property(NameEncoding::Utf8, "Webcam for bob", false), absent, title));
    EXPECT_FALSE(hasTitle(absent, property(NameEncoding::String, "Webcam for bob", false), title));
}

TEST(WindowTitle, NonAsciiTitlesMatchInEveryEncodingThatCanHoldThem) {
    const Text title = L"Webcam for Z\u00fcrich";
    EXPECT_TRUE(hasTitle(property(NameEncoding::Utf8, "Webcam for Z\xC3\xBCrich"), absent, title));
    EXPECT_TRUE(hasTitle(absent, property(NameEncoding::String, "Webcam for Z\xFCrich"), title));
    EXPECT_TRUE(hasTitle(absent, property(NameEncoding::String, "Webcam for Z\xC3\xBCrich"), title));
    EXPECT_TRUE(hasTitle(absent, property(NameEncoding::CompoundText, "Webcam for Z\xFCrich"), title));
    // Latin-1 bytes where UTF-8 is required are no title at all.
    EXPECT_FALSE(hasTitle(property(NameEncoding::Utf8, "Webcam for Z\xFCrich"), absent, title));
}

TEST(WindowTitle, VeryLongNamesAreHandledWhole) {
    const std::string longName = "Webcam for " + std::string(100000, 'x');
    const Text longTitle = L"Webcam for " + Text(100000, L'x');
    EXPECT_TRUE(hasTitle(property(NameEncoding::Utf8, longName), absent, longTitle));
    EXPECT_FALSE(hasTitle(property(NameEncoding::Utf8, longName), absent, longTitle + L"x"));
    EXPECT_FALSE(hasTitle(property(NameEncoding::Utf8, longName), absent, L"Webcam for x"));
}

}  // namespace
}  // namespace skl
