// What Windows would make of a snapshot's path: names it treats specially are
// refused before anything is created, and long paths take the extended form.

#include <gtest/gtest.h>

#include "capture/win32/files_win32.h"

namespace skl::test {
namespace {

const Text folder = LR"(C:\Users\alice\Desktop\)";
const Text stamped = L"-12-14-2005 21-05-07 0.bmp";

std::optional<Text> problemWithId(const Text& id) {
    return windowsNameProblem(folder + id + stamped);
}

TEST(WindowsFileNames, OrdinaryIdsAndSubfoldersPass) {
    for (const Text& id : std::initializer_list<Text>{L"alice99", L"bob smith", L"Łukasz-東京", L"CONrad", L"com10", LR"(cams\bob)", L"cams/bob",
                          L"LPT0"}) {
        EXPECT_EQ(problemWithId(id), std::nullopt) << id;
    }
    EXPECT_EQ(windowsNameProblem(LR"(\\server\share\snaps\bob-1.bmp)"), std::nullopt) << "the share is not a name";
    EXPECT_EQ(windowsNameProblem(LR"(\\?\C:\snaps\bob-1.bmp)"), std::nullopt);
}

TEST(WindowsFileNames, StreamsDevicesTrailingDotsAndControlCharactersAreRefused) {
    // A colon would put the picture into a hidden stream of a file "bob".
    ASSERT_TRUE(problemWithId(L"bob:cam"));
    EXPECT_NE(problemWithId(L"bob:cam")->find(L"characters that a file name may not contain"), Text::npos);
    for (const Text& id : std::initializer_list<Text>{L"a?b", L"a*b", L"a\"b", L"a<b", L"a>b", L"a|b", L"a\tb", L"a\x01" L"b"}) {
        EXPECT_TRUE(problemWithId(id)) << id;
    }
    // Device names as a folder of the ID, with or without an extension, in any case.
    for (const Text& id : std::initializer_list<Text>{LR"(CON\x)", LR"(nul\x)", LR"(Aux.txt\x)", LR"(com1\x)", LR"(LPT9.bmp\x)", LR"(prn \x)"}) {
        ASSERT_TRUE(problemWithId(id)) << id;
        EXPECT_NE(problemWithId(id)->find(L"device"), Text::npos) << id;
    }
    for (const Text& id : std::initializer_list<Text>{LR"(dots.\x)", LR"(space \x)"}) {
        ASSERT_TRUE(problemWithId(id)) << id;
        EXPECT_NE(problemWithId(id)->find(L"dot or a space"), Text::npos) << id;
    }
    EXPECT_TRUE(problemWithId(Text(250, L'x'))) << "longer than a name may be";
    EXPECT_EQ(problemWithId(Text(200, L'x')), std::nullopt);
}

TEST(WindowsFileNames, LongPathsTakeTheExtendedFormWhereItCanExpressThem) {
    const Text shortPath = folder + L"bob" + stamped;
    EXPECT_EQ(windowsFileCallPath(shortPath), shortPath);
    const Text deep = LR"(C:\)" + Text(120, L'a') + LR"(\)" + Text(120, L'b') + L"/bob" + stamped;
    ASSERT_GE(deep.size(), windowsPathLimit);
    EXPECT_EQ(windowsFileCallPath(deep),
              LR"(\\?\C:\)" + Text(120, L'a') + LR"(\)" + Text(120, L'b') + LR"(\bob)" + stamped);
    const Text share = LR"(\\server\share\)" + Text(250, L'c') + stamped;
    EXPECT_EQ(windowsFileCallPath(share), LR"(\\?\UNC\server\share\)" + Text(250, L'c') + stamped);
    EXPECT_EQ(windowsFileCallPath(LR"(C:\)" + Text(250, L'a') + LR"(\..\b)" + stamped), std::nullopt);
    EXPECT_EQ(windowsFileCallPath(Text(300, L'r')), std::nullopt) << "relative";
    EXPECT_EQ(windowsFileCallPath(LR"(\\?\C:\)" + Text(300, L'x')), LR"(\\?\C:\)" + Text(300, L'x'));
}

}  // namespace
}  // namespace skl::test
