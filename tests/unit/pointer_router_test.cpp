// How presses and releases on the main window reach the handlers: a click only
// where the press began, a pressed control keeps every press and release, and a
// lost mouse leaves no button looking pressed.

#include <gtest/gtest.h>

#include "RecordingView.h"
#include "ScriptedDesktop.h"
#include "window/PointerRouter.h"

namespace skl::test {
namespace {

// Client points at 96 dots per inch: the middle of each control, and places
// that take no clicks.
constexpr PixelPoint smiley{16, 15}, newCam{275, 15}, pickFolder{211, 15}, exitButton{320, 15};
constexpr PixelPoint preview{211, 43}, directions{275, 43}, onTop{320, 43}, banner{170, 361};
constexpr PixelPoint ground{3, 40}, plate{100, 15}, previewPicture{100, 200}, outside{-40, 500};

class RecordedCapture final : public MouseCapture {
public:
    void captureMouse() override { held = true; }
    void releaseMouse() override { held = false; }
    bool held = false;
};

// A loaded window whose toolkit routes the mouse to its handlers; what they do is
// logged from here on.
struct RoutedWindow {
    explicit RoutedWindow(std::initializer_list<Text> inputAnswers = {}) {
        view.face = &face;
        desk.inputAnswers = inputAnswers;
        form.Form_Load();
        desk.calls.clear();
    }

    ScriptedDesktop desk;
    RecordingView view{desk};
    WindowFace face{15.0};
    Form1 form{view.form1Ports()};
    RecordedCapture capture;
    PointerRouter router{form, face, capture};
};

class PointerRouterTest : public testing::Test, protected RoutedWindow {
protected:
    void clickAt(PixelPoint at, MouseButton button = MouseButton::left) {
        router.press(button, at);
        router.release(button, at);
    }
    void drag(PixelPoint from, PixelPoint to) {
        router.press(MouseButton::left, from);
        router.release(MouseButton::left, to);
    }
    // What the handlers did: dialogs, snapshots, switches and exit.
    std::vector<Text> commands() const {
        return desk.callNames({L"messageBox", L"inputBox", L"showFolderDialog", L"findWindow", L"setTopmost",
                               L"setOuterHeightTwips", L"openAddress", L"unload"});
    }
};

using Names = std::vector<Text>;

TEST_F(PointerRouterTest, EachControlRunsItsCommandOnAClickOnIt) {
    desk.inputAnswers = {L"alice"};
    clickAt(newCam);
    clickAt(smiley);  // no viewer: Not Found
    clickAt(onTop);
    clickAt(preview);
    clickAt(directions);
    clickAt(pickFolder);
    clickAt(banner);
    clickAt(exitButton);
    EXPECT_EQ(commands(), (Names{L"inputBox", L"findWindow", L"setTopmost", L"setOuterHeightTwips", L"messageBox",
                                 L"showFolderDialog", L"openAddress", L"unload"}));
    EXPECT_FALSE(capture.held);
}

TEST_F(PointerRouterTest, DragsOntoTheSmileyOrDirectionsRunNothing) {
    for (const PixelPoint from : {ground, plate, previewPicture, newCam, onTop, banner}) {
        for (const PixelPoint to : {smiley, directions}) {
            drag(from, to);
        }
    }
    // A drag that starts on New Cam ends with its MouseUp, wherever it is released.
    EXPECT_EQ(commands(), (Names{L"inputBox", L"inputBox"}));
}

TEST_F(PointerRouterTest, ClickNeedsTheReleaseOverTheSameControlWithTheLeftButton) {
    drag(smiley, ground);
    drag(onTop, exitButton);
    clickAt(smiley, MouseButton::right);
    clickAt(onTop, MouseButton::middle);
    EXPECT_EQ(commands(), Names{});
    clickAt(smiley);
    EXPECT_EQ(commands(), (Names{L"messageBox"}));  // no ID given yet
}

TEST_F(PointerRouterTest, AnyButtonPressesAndReleasesTheMouseDownButtons) {
    desk.inputAnswers = {L"bob"};
    router.press(MouseButton::right, newCam);
    EXPECT_TRUE(view.isVisible(Pair::newcam, 1));
    router.release(MouseButton::right, newCam);
    EXPECT_EQ(desk.idLabel, L"bob");
    EXPECT_TRUE(view.isVisible(Pair::newcam, 0));
    EXPECT_FALSE(view.isVisible(Pair::newcam, 1));
}

TEST_F(PointerRouterTest, ASecondButtonGoesToTheControlPressedFirst) {
    desk.inputAnswers = {L"bob"};
    router.press(MouseButton::left, newCam);
    EXPECT_TRUE(capture.held);
    router.press(MouseButton::right, onTop);
    router.release(MouseButton::left, onTop);
    EXPECT_TRUE(capture.held) << "the right button is still down";
    EXPECT_EQ(commands(), (Names{L"inputBox"})) << "New Cam runs, On Top does not toggle";
    EXPECT_TRUE(view.isVisible(Pair::newcam, 0));
    EXPECT_FALSE(view.isVisible(Pair::newcam, 1));
    EXPECT_EQ(view.topmost, true);

    router.release(MouseButton::right, onTop);
    EXPECT_FALSE(capture.held);
    EXPECT_EQ(desk.count(L"setTopmost"), 0u);

    // Held on the smiley, a release elsewhere of another button clicks nothing.
    router.press(MouseButton::left, smiley);
    router.press(MouseButton::right, exitButton);
    router.release(MouseButton::right, exitButton);
    router.release(MouseButton::left, smiley);
    EXPECT_FALSE(view.unloaded);
    EXPECT_EQ(desk.count(L"findWindow"), 1u);
}

TEST_F(PointerRouterTest, LostMouseLeavesNoButtonPressedAndRunsNothing) {
    for (const PixelPoint at : {newCam, pickFolder, directions}) {
        router.press(MouseButton::left, at);
        router.captureLost();
        router.release(MouseButton::left, at);
    }
    EXPECT_EQ(commands(), Names{});
    for (const Pair pair : {Pair::newcam, Pair::pick, Pair::directions}) {
        EXPECT_TRUE(view.isVisible(pair, 0));
        EXPECT_FALSE(view.isVisible(pair, 1));
    }

    // Preview shows the look of the window's state again: on while expanded, off
    // while collapsed.
    router.press(MouseButton::left, preview);
    EXPECT_TRUE(view.isVisible(Pair::prev, 1));
    router.captureLost();
    EXPECT_TRUE(view.isVisible(Pair::prev, 0));
    EXPECT_FALSE(view.isVisible(Pair::prev, 1));
    clickAt(preview);
    ASSERT_EQ(form.state().isExpanded, 0);
    router.press(MouseButton::left, preview);
    router.captureLost();
    EXPECT_FALSE(view.isVisible(Pair::prev, 0));
    EXPECT_TRUE(view.isVisible(Pair::prev, 1));
}

TEST_F(PointerRouterTest, DialogTakingTheMouseKeepsItsButtonPressedUntilItCloses) {
    // Two buttons down on New Cam: the first release opens the input box, which
    // takes the mouse while the other button is still down.
    std::pair<bool, bool> looksDuringBox{};
    desk.onCall = [&](const Call& call) {
        if (call.what != L"inputBox") return;
        router.captureLost();
        looksDuringBox = {view.isVisible(Pair::newcam, 0), view.isVisible(Pair::newcam, 1)};
    };
    router.press(MouseButton::left, newCam);
    router.press(MouseButton::right, newCam);
    router.release(MouseButton::left, newCam);
    router.release(MouseButton::right, newCam);  // the box had the mouse: nothing more
    EXPECT_EQ(looksDuringBox, std::make_pair(false, true));
    EXPECT_EQ(commands(), (Names{L"inputBox"}));
    EXPECT_TRUE(view.isVisible(Pair::newcam, 0));
}

TEST_F(PointerRouterTest, OnlyThePictureShowingTakesTheClick) {
    clickAt(onTop);  // off: ontop(1) shows
    clickAt(onTop);  // on again
    EXPECT_EQ(view.topmost, true);
    EXPECT_EQ(desk.count(L"setTopmost"), 2u);
    clickAt(outside);
    EXPECT_EQ(commands().size(), 2u);
}

// Every control that takes input, run through the router, does exactly what its
// row's handlers do when called directly on a second window in the same state.
class RowCommandTest : public testing::TestWithParam<Control> {
protected:
    struct Window : RoutedWindow {
        Window() : RoutedWindow({L"carol"}) {
            const ControlDefinition& row = definitionOf(GetParam());
            // The control's picture shows, the other of its pair is hidden.
            if (row.pair) {
                view.setVisible(*row.pair, row.index == 0 ? 1 : 0, false);
                view.setVisible(*row.pair, row.index, true);
            }
            desk.calls.clear();
        }
        std::vector<std::pair<Text, Text>> log() const {
            std::vector<std::pair<Text, Text>> entries;
            for (const Call& call : desk.calls) entries.emplace_back(call.what, call.detail);
            return entries;
        }
    };
};

TEST_P(RowCommandTest, RouterRunsExactlyTheRowsHandlers) {
    const Control control = GetParam();
    const ControlDefinition& row = definitionOf(control);
    Window routed, direct;
    if (row.kind == ControlKind::OptionButton) {
        routed.router.optionClicked(control);
        (direct.form.*row.click)();
    } else {
        const PixelRect rect = routed.face.rect(control);
        const PixelPoint middle{rect.left + rect.width / 2, rect.top + rect.height / 2};
        ASSERT_EQ(routed.face.controlAt(middle), control);
        routed.router.press(MouseButton::left, middle);
        routed.router.release(MouseButton::left, middle);
        if (row.click) {
            (direct.form.*row.click)();
        } else {
            (direct.form.*row.mouseDown)();
            (direct.form.*row.mouseUp)();
        }
    }
    EXPECT_FALSE(routed.log().empty());
    EXPECT_EQ(routed.log(), direct.log());
}

std::vector<Control> inputTakingControls() {
    std::vector<Control> controls;
    for (const ControlDefinition& definition : form1Controls)
        if (definition.takesInput()) controls.push_back(definition.control);
    return controls;
}

INSTANTIATE_TEST_SUITE_P(EveryInputTakingControl, RowCommandTest, testing::ValuesIn(inputTakingControls()),
                         [](const testing::TestParamInfo<Control>& control) {
                             return "control" + std::to_string(static_cast<int>(control.param));
                         });

TEST_F(PointerRouterTest, OnlyOptionButtonsAreClickedAsOptions) {
    router.optionClicked(Control::xit);
    router.optionClicked(Control::Picture1);
    router.optionClicked(Control::lblFolder);
    EXPECT_EQ(commands(), Names{});
    EXPECT_EQ(desk.count(L"selectOption1"), 0u);
    router.optionClicked(Control::Option1_0);
    EXPECT_EQ(view.selectedOption1, 1) << "the detected family's option again";
}

// What the router relies on in the window's definition beyond what the compiler
// checks: a press's look has its release and its pair; each control runs either
// Click or its press; both pictures of a pair and every button of an option group
// run the same handlers; what takes the mouse has a picture to be found by.
TEST(WindowDefinition, HandlersFitTheirControls) {
    for (const ControlDefinition& row : form1Controls) {
        SCOPED_TRACE(static_cast<int>(row.control));
        EXPECT_EQ(row.mouseDown == nullptr, row.mouseUp == nullptr);
        if (row.mouseDown) {
            EXPECT_TRUE(row.pair.has_value());
            EXPECT_EQ(row.click, nullptr);
        }
        if (row.kind == ControlKind::OptionButton) {
            EXPECT_NE(row.click, nullptr);
        } else if (row.takesInput()) {
            EXPECT_NE(row.picture, nullptr);
        }
        for (const ControlDefinition& other : form1Controls) {
            if ((row.pair && other.pair == row.pair) || (row.group != OptionGroup::none && other.group == row.group)) {
                EXPECT_TRUE(other.click == row.click && other.mouseDown == row.mouseDown &&
                            other.mouseUp == row.mouseUp)
                    << "and " << static_cast<int>(other.control);
            }
        }
    }
}

TEST(PointerRouterAtOtherResolutions, PictureButtonsTakeClicksOnTheirPicturesOnly) {
    // At 120 dots per inch Pick Folder's place is 2715 x 60 twips, pixel (226, 5);
    // its picture is 61 x 22 pixels, though its twips box would be 76 x 28.
    ScriptedDesktop desk;
    RecordingView view{desk};
    WindowFace face(12.0);
    view.face = &face;
    Form1 form(view.form1Ports());
    RecordedCapture capture;
    PointerRouter router(form, face, capture);
    for (const PixelPoint at : {PixelPoint{226 + 61, 10}, PixelPoint{230, 5 + 22}, PixelPoint{225, 10}}) {
        router.press(MouseButton::left, at);
        router.release(MouseButton::left, at);
    }
    EXPECT_EQ(desk.count(L"showFolderDialog"), 0u);
    for (const PixelPoint at : {PixelPoint{226, 5}, PixelPoint{226 + 60, 5 + 21}}) {
        router.press(MouseButton::left, at);
        router.release(MouseButton::left, at);
    }
    EXPECT_EQ(desk.count(L"showFolderDialog"), 2u);
}

}  // namespace
}  // namespace skl::test
