// Finding windows by title on a real X server with openbox: the sample viewer,
// titles in every encoding programs write, minimised and vanished windows, and
// titles that must not match.

#include <gtest/gtest.h>

#include <cstdlib>

#include "ManagedDesktopTest.h"

// Xlib's headers define names such as None and Success: they come last.
#include <X11/Xlib.h>

namespace skl::x11test {
namespace {

// A locale that the C library has and Xlib has no database for, as users' systems
// have some, made in a folder of the test's own and in force for the object's
// lifetime; the fixture's UTF-8 afterwards.
class LocaleUnknownToXlib {
public:
    LocaleUnknownToXlib() {
        made_ = run({"mkdir", "-p", folder_}) == 0 &&
                run({"localedef", "-i", "sah_RU", "-f", "UTF-8", folder_ + "/sah_RU.UTF-8"}) == 0 &&
                setenv("LOCPATH", folder_.c_str(), 1) == 0 && std::setlocale(LC_CTYPE, "sah_RU.UTF-8") != nullptr;
    }
    ~LocaleUnknownToXlib() {
        unsetenv("LOCPATH");
        std::setlocale(LC_CTYPE, "C.UTF-8");
        run({"rm", "-rf", folder_});
    }
    LocaleUnknownToXlib(const LocaleUnknownToXlib&) = delete;
    LocaleUnknownToXlib& operator=(const LocaleUnknownToXlib&) = delete;

    bool inForce() const { return made_ && !XSupportsLocale(); }

private:
    std::string folder_ = testing::TempDir() + "skellimor-locales";
    bool made_ = false;
};

class WindowLookupTest : public ManagedDesktopTest {
protected:
    // A managed window of the test's own whose name properties are set by `name`.
    template <typename Naming>
    std::unique_ptr<TestWindow> namedWindow(Naming name) {
        auto window = std::make_unique<TestWindow>(helper, ScreenRect{300, 300, 400, 360});
        name(*window);
        window->map();
        waitUntil([&] { return wmState(helper, window->id()) == 1; });
        return window;
    }
};

TEST_F(WindowLookupTest, FindsTheSampleViewerByItsExactTitleOnly) {
    ASSERT_TRUE(desktop.connected());
    const WindowHandle found = showViewer("alice99", {"--at", "200", "150"});
    ASSERT_NE(found, 0);
    EXPECT_EQ(lookup.findWindow(L"Webcam for alice99"), found);
    EXPECT_EQ(wmState(helper, static_cast<xcb_window_t>(found)), 1u);  // the client window, not its frame
    for (const wchar_t* other : {L"Webcam for alice9", L"Webcam for alice99 ", L"webcam for alice99",
                              L"Webcam for ALICE99", L"Webcam for", L""}) {
        EXPECT_EQ(lookup.findWindow(other), 0) << testing::PrintToString(other);
    }
}

TEST_F(WindowLookupTest, FindsANonAsciiTitle) {
    const WindowHandle found = showViewer("Z\xC3\xBCrich-\xE5\xA4\xAA\xE9\x83\x8E");
    ASSERT_NE(found, 0);
    EXPECT_EQ(lookup.findWindow(L"Webcam for Z\u00fcrich-\u592a\u90ce"), found);
    EXPECT_EQ(lookup.findWindow(L"Webcam for Z\u00c3\u00bcrich-"), 0);
}

TEST_F(WindowLookupTest, FindsATitleAnotherProgramSet) {
    const auto window = namedWindow([&](TestWindow& w) { w.setText(XCB_ATOM_WM_NAME, XCB_ATOM_STRING, "untitled"); });
    // xdotool writes both names, _NET_WM_NAME as a STRING holding UTF-8.
    ASSERT_EQ(run({"xdotool", "set_window", "--name", "Webcam for J\xC3\xBCrgen", std::to_string(window->id())}), 0);
    EXPECT_EQ(waitUntil([&] { return lookup.findWindow(L"Webcam for J\u00fcrgen"); }), window->handle());
    EXPECT_EQ(lookup.findWindow(L"untitled"), 0);
}

TEST_F(WindowLookupTest, ReadsWmNameInItsEncodings) {
    const XcbAtoms& atoms = helper.atoms();
    const auto latin1 = namedWindow([&](TestWindow& w) { w.setText(XCB_ATOM_WM_NAME, XCB_ATOM_STRING, "Webcam for Ren\xE9"); });
    const auto utf8InString =
        namedWindow([&](TestWindow& w) { w.setText(XCB_ATOM_WM_NAME, XCB_ATOM_STRING, "Webcam for J\xC3\xB8rn"); });
    const auto utf8 = namedWindow(
        [&](TestWindow& w) { w.setText(XCB_ATOM_WM_NAME, atoms.utf8String, "Webcam for \xE5\xA4\xAA\xE9\x83\x8E"); });
    const auto compound =
        namedWindow([&](TestWindow& w) { w.setText(XCB_ATOM_WM_NAME, atoms.compoundText, "Webcam for Fran\xE7oise"); });
    const auto escaped = namedWindow(
        [&](TestWindow& w) { w.setText(XCB_ATOM_WM_NAME, atoms.compoundText, "Webcam for \x1B$)B\x42\x40"); });
    // As the X toolkit writes titles beyond Latin-1: Latin-2's upper half, and
    // JIS X 0208 in the upper half, each chosen by an escape sequence.
    const auto latin2 = namedWindow([&](TestWindow& w) {
        w.setText(XCB_ATOM_WM_NAME, atoms.compoundText, "Webcam for \x1B-B\xB1ukasz");
    });
    const auto japanese = namedWindow([&](TestWindow& w) {
        w.setText(XCB_ATOM_WM_NAME, atoms.compoundText, "Webcam for \x1B$)B\xCF\xBA\xC2\xC0");
    });
    EXPECT_EQ(lookup.findWindow(L"Webcam for Ren\u00e9"), latin1->handle());
    EXPECT_EQ(lookup.findWindow(L"Webcam for J\u00f8rn"), utf8InString->handle());
    EXPECT_EQ(lookup.findWindow(L"Webcam for \u592a\u90ce"), utf8->handle());
    EXPECT_EQ(lookup.findWindow(L"Webcam for Fran\u00e7oise"), compound->handle());
    EXPECT_EQ(lookup.findWindow(L"Webcam for \x1B$)B\x42\x40"), 0);
    EXPECT_EQ(lookup.findWindow(L"Webcam for B@"), escaped->handle()) << "ASCII, in a set only the upper half changed";
    EXPECT_EQ(lookup.findWindow(L"Webcam for \u0105ukasz"), latin2->handle());
    EXPECT_EQ(lookup.findWindow(L"Webcam for \u90ce\u592a"), japanese->handle());

    // The program runs in the user's locale, which its toolkit takes from the
    // environment: also one that Xlib's converters know nothing of.
    const LocaleUnknownToXlib userLocale;
    ASSERT_TRUE(userLocale.inForce());
    EXPECT_EQ(lookup.findWindow(L"Webcam for \u0105ukasz"), latin2->handle());
    EXPECT_EQ(lookup.findWindow(L"Webcam for \u90ce\u592a"), japanese->handle());
    EXPECT_STREQ(std::setlocale(LC_CTYPE, nullptr), "sah_RU.UTF-8") << "the user's locale kept";
}

TEST_F(WindowLookupTest, NamesThatAreNotTextOrTooLongDoNotMatch) {
    const XcbAtoms& atoms = helper.atoms();
    // Latin-1 bytes where _NET_WM_NAME must hold UTF-8; WM_NAME is then not consulted.
    const auto invalid = namedWindow([&](TestWindow& w) {
        w.setText(atoms.netWmName, atoms.utf8String, "Webcam for Ren\xE9");
        w.setText(XCB_ATOM_WM_NAME, XCB_ATOM_STRING, "Webcam for Ren\xE9");
    });
    // _NET_WM_NAME is UTF-8 whatever type it was given.
    const auto latin1String = namedWindow([&](TestWindow& w) {
        w.setText(atoms.netWmName, XCB_ATOM_STRING, "Webcam for Fran\xE7oise");
    });
    const auto withNul = namedWindow(
        [&](TestWindow& w) { w.setText(atoms.netWmName, atoms.utf8String, std::string_view("Webcam for bo\0b", 15)); });
    const std::string longName = "Webcam for " + std::string(200'000, 'x');
    const auto longTitled = namedWindow([&](TestWindow& w) { w.setText(atoms.netWmName, atoms.utf8String, longName); });
    EXPECT_EQ(lookup.findWindow(L"Webcam for Ren\u00e9"), 0);
    EXPECT_EQ(lookup.findWindow(L"Webcam for Fran\u00e7oise"), 0);
    EXPECT_EQ(lookup.findWindow(L"Webcam for bo"), 0);
    EXPECT_EQ(lookup.findWindow(L"Webcam for " + Text(200'000, L'x')), longTitled->handle());
    EXPECT_EQ(lookup.findWindow(L"Webcam for " + Text(199'999, L'x')), 0);
    EXPECT_EQ(lookup.findWindow(L"Webcam for x"), 0);
}

TEST_F(WindowLookupTest, FindsAMinimisedWindowStillAtItsPlace) {
    const WindowHandle found = showViewer("minnie", {"--at", "300", "200"}, ScreenPoint{300, 200});
    ASSERT_NE(found, 0);
    EXPECT_EQ(lookup.restoredCorner(found), (ScreenPoint{300, 200}));

    ASSERT_EQ(run({"xdotool", "windowminimize", std::to_string(found)}), 0);
    ASSERT_TRUE(waitUntil([&] { return wmState(helper, static_cast<xcb_window_t>(found)) == 3; }));
    EXPECT_EQ(lookup.findWindow(L"Webcam for minnie"), found);
    EXPECT_EQ(lookup.restoredCorner(found), (ScreenPoint{300, 200}));
}

TEST_F(WindowLookupTest, TheTopmostOfTwoWindowsWithOneTitleIsFound) {
    const auto first = namedWindow([&](TestWindow& w) { w.setText(XCB_ATOM_WM_NAME, XCB_ATOM_STRING, "Webcam for twin"); });
    const auto second = namedWindow([&](TestWindow& w) { w.setText(XCB_ATOM_WM_NAME, XCB_ATOM_STRING, "Webcam for twin"); });
    EXPECT_EQ(waitUntil([&] { return lookup.findWindow(L"Webcam for twin") == second->handle(); }), true);
    ASSERT_EQ(run({"xdotool", "windowactivate", "--sync", std::to_string(first->id())}), 0);
    EXPECT_EQ(waitUntil([&] { return lookup.findWindow(L"Webcam for twin") == first->handle(); }), true);
}

TEST_F(WindowLookupTest, AWindowGoneAfterTheLookupHasNoPlacement) {
    auto window = namedWindow([&](TestWindow& w) { w.setText(XCB_ATOM_WM_NAME, XCB_ATOM_STRING, "Webcam for ghost"); });
    const WindowHandle found = lookup.findWindow(L"Webcam for ghost");
    ASSERT_EQ(found, window->handle());
    window->destroy();

    EXPECT_EQ(lookup.restoredCorner(found), std::nullopt);
    EXPECT_EQ(lookup.findWindow(L"Webcam for ghost"), 0);
    EXPECT_EQ(lookup.restoredCorner(0), std::nullopt);
    EXPECT_EQ(lookup.restoredCorner(-5), std::nullopt);
}

TEST_F(WindowLookupTest, ViewerThatClosesItselfOnRequestIsGone) {
    const WindowHandle found = showViewer("leaving");
    ASSERT_NE(found, 0);
    askToClose(helper, static_cast<xcb_window_t>(found));
    EXPECT_EQ(viewers.back()->wait(), 0);
    EXPECT_EQ(waitUntil([&] { return lookup.findWindow(L"Webcam for leaving") == 0; }), true);
    EXPECT_EQ(lookup.restoredCorner(found), std::nullopt);
}

}  // namespace
}  // namespace skl::x11test
