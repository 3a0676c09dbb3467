#include <gtest/gtest.h>

#include "capture/sway/ipc_sway.h"

namespace skl {
namespace {

// get_tree as sway 1.7 answers it (fields the program does not read left out): an
// X11 view with a title bar, a native view with a pixel border, a view in the
// scratchpad, and a split container that is no view.
constexpr const char* tree = R"({
  "id": 1, "type": "root", "name": "root", "nodes": [
    {"id": 2147483647, "type": "output", "name": "__i3", "floating_nodes": [], "nodes": [
      {"id": 2147483646, "type": "workspace", "name": "__i3_scratch", "nodes": [], "floating_nodes": [
        {"id": 9, "type": "floating_con", "name": "Morvath's Skellimor", "pid": 4242, "shell": "xwayland",
         "window": 8388614, "visible": false, "nodes": [], "floating_nodes": [],
         "rect": {"x": 100, "y": 80, "width": 341, "height": 404},
         "deco_rect": {"x": 0, "y": 0, "width": 0, "height": 0}}]}]},
    {"id": 3, "type": "output", "name": "HEADLESS-1", "floating_nodes": [], "nodes": [
      {"id": 4, "type": "workspace", "name": "1", "nodes": [
        {"id": 10, "type": "con", "name": null, "layout": "splith", "nodes": [], "floating_nodes": [],
         "rect": {"x": 0, "y": 0, "width": 800, "height": 1000},
         "deco_rect": {"x": 0, "y": 0, "width": 0, "height": 0}}],
       "floating_nodes": [
        {"id": 6, "type": "floating_con", "name": "Webcam for demo", "pid": 9129, "shell": "xwayland",
         "window": 4194304, "visible": true, "nodes": [], "floating_nodes": [],
         "rect": {"x": 20, "y": 45, "width": 364, "height": 322},
         "deco_rect": {"x": 20, "y": 20, "width": 364, "height": 25}},
        {"id": 7, "type": "floating_con", "name": "Webcam for \u00c5sa \u6771", "pid": 77, "shell": "xdg_shell",
         "app_id": "viewer", "visible": true, "nodes": [], "floating_nodes": [],
         "rect": {"x": -5, "y": 700, "width": 330, "height": 250},
         "deco_rect": {"x": 0, "y": 0, "width": 0, "height": 0}}]}]}]})";

TEST(SwayTree, ViewsAreProgramWindowsWithTheirOuterFrames) {
    const auto views = swayViews(tree);
    ASSERT_EQ(views.size(), 3u);

    const SwayView& ours = views[0];
    EXPECT_EQ(ours.id, 9);
    EXPECT_EQ(ours.pid, 4242);
    EXPECT_EQ(ours.x11Window, 8388614u);
    EXPECT_TRUE(ours.inScratchpad);
    EXPECT_FALSE(ours.visible);
    // In the scratchpad sway gives no title bar: rect is the whole frame.
    EXPECT_EQ(ours.frame, (ScreenRect{100, 80, 441, 484}));

    const SwayView& x11 = views[1];
    EXPECT_EQ(x11.name, "Webcam for demo");
    EXPECT_FALSE(x11.inScratchpad);
    EXPECT_TRUE(x11.visible);
    // The title bar above rect belongs to the frame.
    EXPECT_EQ(x11.frame, (ScreenRect{20, 20, 384, 367}));

    const SwayView& native = views[2];
    EXPECT_EQ(native.name, "Webcam for \xc3\x85sa \xe6\x9d\xb1");
    EXPECT_FALSE(native.x11Window.has_value());
    EXPECT_EQ(native.frame, (ScreenRect{-5, 700, 325, 950}));
}

TEST(SwayTree, WhatIsNotTheTreeHasNoViews) {
    EXPECT_TRUE(swayViews("").empty());
    EXPECT_TRUE(swayViews("[]").empty());
    EXPECT_TRUE(swayViews("{\"nodes\": [").empty());
    // A coordinate beyond a screen's range is held at its end, not wrapped.
    const auto far = swayViews(R"({"nodes": [{"id": 5, "name": "x", "shell": "xwayland", "nodes": [],
        "floating_nodes": [], "rect": {"x": 2147483000, "y": -2147483600, "width": 5000, "height": 10},
        "deco_rect": {"height": 100}}]})");
    ASSERT_EQ(far.size(), 1u);
    EXPECT_EQ(far[0].frame, (ScreenRect{2147483000, INT32_MIN, INT32_MAX, -2147483590}));
}

TEST(SwayOutputs, ActiveOutputsWithTheirPlaceAndScale) {
    const auto outputs = swayOutputs(R"([
        {"name": "HEADLESS-1", "active": true, "scale": 1.0, "rect": {"x": 0, "y": 0, "width": 1600, "height": 1000}},
        {"name": "HEADLESS-2", "active": false, "rect": {"x": 0, "y": 0, "width": 0, "height": 0}},
        {"name": "HEADLESS-3", "active": true, "scale": 2.0, "rect": {"x": 1600, "y": 0, "width": 800, "height": 500}},
        {"name": "HEADLESS-4", "active": true, "scale": -1, "rect": {"x": 0, "y": 1000, "width": 10, "height": 10}}])");
    ASSERT_EQ(outputs.size(), 3u);
    EXPECT_EQ(outputs[0].name, "HEADLESS-1");
    EXPECT_EQ(outputs[0].rect, (ScreenRect{0, 0, 1600, 1000}));
    EXPECT_EQ(outputs[1].rect, (ScreenRect{1600, 0, 2400, 500}));
    EXPECT_EQ(outputs[1].scale, 2.0);
    EXPECT_EQ(outputs[2].scale, 1.0);
    EXPECT_TRUE(swayOutputs("{}").empty());
}

TEST(SwayCommands, CriteriaNameOneContainer) { EXPECT_EQ(swayConCriteria(42), "[con_id=42] "); }

}  // namespace
}  // namespace skl
