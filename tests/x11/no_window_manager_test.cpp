// Finding windows with no window manager running: no client lists and no frames.
// Top-level windows are found among the root's children, through the WM_STATE that
// marks a client inside a frame; lists a window manager left behind are not
// believed, and lists, extents and other properties of 32-bit units that other
// programs wrote are read with care.

#include <gtest/gtest.h>

#include "ManagedDesktopTest.h"

namespace skl::x11test {
namespace {

class NoWindowManager : public DesktopTest {
protected:
    void TearDown() override {
        xcb_delete_property(helper.get(), helper.root(), helper.atoms().netClientList);
        xcb_delete_property(helper.get(), helper.root(), helper.atoms().netSupportingWmCheck);
        sync(helper);
    }

    // The root names `check` as the running window manager's window.
    void nameWindowManager(xcb_window_t check) {
        xcb_change_property(helper.get(), XCB_PROP_MODE_REPLACE, helper.root(), helper.atoms().netSupportingWmCheck,
                            XCB_ATOM_WINDOW, 32, 1, &check);
        sync(helper);
    }

    void setClientList(xcb_atom_t type, const std::vector<std::uint32_t>& ids) {
        xcb_change_property(helper.get(), XCB_PROP_MODE_REPLACE, helper.root(), helper.atoms().netClientList, type, 32,
                            static_cast<std::uint32_t>(ids.size()), ids.data());
        sync(helper);
    }
};

TEST_F(NoWindowManager, TopLevelWindowsAreFoundAndAreTheirOwnFrame) {
    const ChildProcess viewer(viewerCommand("plain", {"--at", "100", "80"}));
    const WindowHandle found = waitUntil([&] { return lookup.findWindow(L"Webcam for plain"); });
    ASSERT_NE(found, 0);
    EXPECT_EQ(placementOf(found), (ScreenRect{100, 80, 100 + viewerWidth, 80 + viewerHeight}));

    // Never mapped, as a window the program has hidden.
    TestWindow hidden(helper, {10, 20, 30, 40});
    hidden.setText(XCB_ATOM_WM_NAME, XCB_ATOM_STRING, "Webcam for hidden");
    EXPECT_EQ(lookup.findWindow(L"Webcam for hidden"), hidden.handle());
    EXPECT_EQ(lookup.findWindow(L"Webcam for nobody"), 0);
}

TEST_F(NoWindowManager, ClientInsideAFrameIsFoundByItsWmState) {
    TestWindow frame(helper, {50, 50, 250, 200});
    TestWindow client(helper, {3, 20, 197, 147}, frame.id());
    TestWindow decoration(helper, {0, 0, 200, 20}, frame.id());
    client.setCardinals(helper.atoms().wmState, helper.atoms().wmState, {1, 0});
    client.setText(XCB_ATOM_WM_NAME, XCB_ATOM_STRING, "Webcam for inner");
    decoration.setText(XCB_ATOM_WM_NAME, XCB_ATOM_STRING, "Webcam for title bar");
    frame.setText(XCB_ATOM_WM_NAME, XCB_ATOM_STRING, "Webcam for frame");
    client.map();
    decoration.map();
    frame.map();
    EXPECT_EQ(lookup.findWindow(L"Webcam for inner"), client.handle());
    // A frame stands for its client: neither it nor its other parts are looked at.
    EXPECT_EQ(lookup.findWindow(L"Webcam for title bar"), 0);
    EXPECT_EQ(lookup.findWindow(L"Webcam for frame"), 0);
    // Without published extents, the outer frame is the top-level window around it.
    EXPECT_EQ(placementOf(client.handle()), (ScreenRect{50, 50, 250, 200}));
}

TEST_F(NoWindowManager, ClientListsAreBelievedOnlyWhileTheirWindowManagerRunsAndAreReadWithCare) {
    TestWindow window(helper, {10, 20, 30, 40});
    window.setText(XCB_ATOM_WM_NAME, XCB_ATOM_STRING, "Webcam for listed");
    TestWindow other(helper, {10, 20, 30, 40});
    // A list that holds only other windows, left by a window manager that is gone
    // (its check window no longer exists): the root's children are searched.
    setClientList(XCB_ATOM_WINDOW, {other.id()});
    EXPECT_EQ(lookup.findWindow(L"Webcam for listed"), window.handle());
    TestWindow gone(helper, {10, 20, 30, 40});
    nameWindowManager(gone.id());
    gone.destroy();
    EXPECT_EQ(lookup.findWindow(L"Webcam for listed"), window.handle());

    // While the window manager's check window names itself, the list is believed.
    TestWindow check(helper, {0, 0, 1, 1});
    check.setCardinals(helper.atoms().netSupportingWmCheck, XCB_ATOM_WINDOW, {check.id()});
    nameWindowManager(check.id());
    EXPECT_EQ(lookup.findWindow(L"Webcam for listed"), 0);
    setClientList(XCB_ATOM_WINDOW, {});  // an empty list is a list: it names no client
    EXPECT_EQ(lookup.findWindow(L"Webcam for listed"), 0);
    // The real window under (listed before) windows long gone and ids no window can have.
    setClientList(XCB_ATOM_WINDOW, {window.id(), 0x7FFFFFFF, 0xFFFFFFFF, 0, gone.id()});
    EXPECT_EQ(lookup.findWindow(L"Webcam for listed"), window.handle());
    // A list of another type is no list: the root's children are searched.
    setClientList(XCB_ATOM_CARDINAL, {other.id()});
    EXPECT_EQ(lookup.findWindow(L"Webcam for listed"), window.handle());
}

TEST_F(NoWindowManager, ShownWindowsPastTheWindowManagerAreFoundWhenNoListedOneIsTitled) {
    TestWindow check(helper, {0, 0, 1, 1});
    check.setCardinals(helper.atoms().netSupportingWmCheck, XCB_ATOM_WINDOW, {check.id()});
    nameWindowManager(check.id());
    TestWindow listed(helper, {10, 20, 30, 40});
    setClientList(XCB_ATOM_WINDOW, {listed.id()});
    TestWindow popup(helper, {200, 100, 300, 200});
    const std::uint32_t overrideRedirect = 1;
    xcb_change_window_attributes(helper.get(), popup.id(), XCB_CW_OVERRIDE_REDIRECT, &overrideRedirect);
    popup.setText(XCB_ATOM_WM_NAME, XCB_ATOM_STRING, "Webcam for popup");
    EXPECT_EQ(lookup.findWindow(L"Webcam for popup"), 0) << "not shown";
    popup.map();
    sync(helper);
    EXPECT_EQ(lookup.findWindow(L"Webcam for popup"), popup.handle());
    EXPECT_EQ(placementOf(popup.handle()), (ScreenRect{200, 100, 300, 200}));
}

TEST_F(NoWindowManager, FrameExtentsThatCannotBeBelievedAreIgnored) {
    TestWindow window(helper, {100, 100, 300, 200});
    window.map();
    const xcb_atom_t extents = helper.atoms().netFrameExtents;
    window.setCardinals(extents, XCB_ATOM_CARDINAL, {1, 1, 20, 5});
    EXPECT_EQ(placementOf(window.handle()), (ScreenRect{99, 80, 301, 205}));
    for (const std::vector<std::uint32_t>& absurd :
         {std::vector<std::uint32_t>{1, 1, 99999, 5}, {1, 1, 20}, {1, 1, 20, 5, 7}, {0xFFFFFFFF, 0, 0, 0}}) {
        window.setCardinals(extents, XCB_ATOM_CARDINAL, absurd);
        EXPECT_EQ(placementOf(window.handle()), (ScreenRect{100, 100, 300, 200})) << absurd.size();
    }
    window.setCardinals(extents, XCB_ATOM_INTEGER, {1, 1, 20, 5});
    EXPECT_EQ(placementOf(window.handle()), (ScreenRect{100, 100, 300, 200}));
    window.setText(extents, XCB_ATOM_CARDINAL, "1234567890123456");
    EXPECT_EQ(placementOf(window.handle()), (ScreenRect{100, 100, 300, 200}));
}

TEST_F(NoWindowManager, PropertiesAreReadAsUnitsOnlyOfTheTypeAskedFor) {
    TestWindow window(helper, {10, 20, 30, 40});
    const xcb_atom_t state = helper.atoms().netWmState;
    const xcb_atom_t above = helper.atoms().netWmStateAbove;
    window.setCardinals(state, XCB_ATOM_ATOM, {above, XCB_ATOM_NONE, above});
    // Requests sent together are each answered with their own property.
    const UnitsRequest whole = desktop.requestPropertyUnits(window.id(), state, XCB_ATOM_ATOM, 64);
    const UnitsRequest first = desktop.requestPropertyUnits(window.id(), state, XCB_ATOM_ATOM, 1);
    const UnitsRequest otherType = desktop.requestPropertyUnits(window.id(), state, XCB_ATOM_CARDINAL, 64);
    const UnitsRequest missing = desktop.requestPropertyUnits(window.id(), XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 9);
    EXPECT_EQ(desktop.propertyUnits(whole), (std::vector<std::uint32_t>{above, XCB_ATOM_NONE, above}));
    EXPECT_EQ(desktop.propertyUnits(first), (std::vector<std::uint32_t>{above}));
    EXPECT_EQ(desktop.propertyUnits(otherType), std::nullopt);
    EXPECT_EQ(desktop.propertyUnits(missing), std::nullopt);

    window.setCardinals(state, XCB_ATOM_ATOM, {});
    EXPECT_EQ(desktop.propertyUnits(window.id(), state, XCB_ATOM_ATOM, 64), std::vector<std::uint32_t>{});
    window.setText(state, XCB_ATOM_ATOM, "12345678");  // bytes, not 32-bit units
    EXPECT_EQ(desktop.propertyUnits(window.id(), state, XCB_ATOM_ATOM, 64), std::nullopt);
    const xcb_window_t gone = window.id();
    window.destroy();
    EXPECT_EQ(desktop.propertyUnits(gone, state, XCB_ATOM_ATOM, 64), std::nullopt);
}

}  // namespace
}  // namespace skl::x11test
