// Where another program's window lies and how much larger the system draws it,
// from the system's answers: Windows stretching a window that does not know the
// screen's resolution, and systems (Wine 8) that only say so.

#include <gtest/gtest.h>

#include "capture/ViewerScale.h"

namespace skl::test {
namespace {

// The viewer's restored frame, 360 x 320 of its own pixels at (100, 50) of its own
// coordinates, as a system that stretches it by `scale` tells it: our coordinates
// are its own times the scale, and the mapping agrees.
FrameReadings stretchedBy(double scale) {
    const auto at = [scale](std::int32_t own) { return static_cast<std::int32_t>(own * scale + 0.5); };
    return {{at(100), at(50), at(460), at(370)},
            ScreenRect{100, 50, 460, 370},
            ScreenPoint{at(100), at(50)},
            ScreenPoint{at(459), at(369)}};
}

TEST(ViewerScale, StretchedWhereOurCoordinatesAndTheMappingAgree) {
    // An unaware viewer on a screen of 120 dots per inch (125 %) and 144 (150 %),
    // or a viewer aware of 96 while this program works at 120 or 144.
    for (const double scale : {1.25, 1.5, 2.0}) {
        const ViewerFrame frame = viewerFrameOf(stretchedBy(scale));
        EXPECT_DOUBLE_EQ(frame.scale, scale);
        EXPECT_EQ(frame.corner, (ScreenPoint{static_cast<std::int32_t>(100 * scale + 0.5),
                                             static_cast<std::int32_t>(50 * scale + 0.5)}))
            << scale;
    }
    // The mapping may round the last pixel either way.
    FrameReadings truncated = stretchedBy(1.5);
    truncated.mappedLastPixel = ScreenPoint{150 + 538, 75 + 478};
    EXPECT_DOUBLE_EQ(viewerFrameOf(truncated).scale, 1.5);
}

TEST(ViewerScale, NotStretchedWhereTheWindowKnowsTheResolutionOrNothingElseIsKnown) {
    // Aware viewers, 96 dots per inch, and system-aware viewers on a monitor of
    // another resolution, which the system virtualises for them and us alike:
    // our coordinates are the window's own, whatever the mapping says.
    const ScreenRect frame{100, 50, 460, 370};
    for (const auto& mapped : {std::optional<ScreenPoint>{}, std::optional<ScreenPoint>{ScreenPoint{150, 75}}}) {
        const ViewerFrame same = viewerFrameOf({frame, frame, mapped, mapped});
        EXPECT_EQ(same.corner, (ScreenPoint{100, 50}));
        EXPECT_DOUBLE_EQ(same.scale, 1.0);
    }
    // Before Windows 10 1607 nothing reads the window in its own coordinates: ours.
    const ViewerFrame unknown = viewerFrameOf({{125, 63, 575, 463}, std::nullopt, std::nullopt, std::nullopt});
    EXPECT_EQ(unknown.corner, (ScreenPoint{125, 63}));
    EXPECT_DOUBLE_EQ(unknown.scale, 1.0);
}

TEST(ViewerScale, AnswersThatDisagreeLeaveTheWindowAtItsOwnPixels) {
    // Wine 8 at 120 dots per inch: the frame is larger in our coordinates, but the
    // window is drawn at its own ones, and the mapping refuses the frame's corner.
    FrameReadings wine = stretchedBy(1.25);
    wine.mappedCorner.reset();
    const ViewerFrame drawn = viewerFrameOf(wine);
    EXPECT_EQ(drawn.corner, (ScreenPoint{100, 50}));
    EXPECT_DOUBLE_EQ(drawn.scale, 1.0);

    const auto unstretched = [](const FrameReadings& readings) {
        const ViewerFrame frame = viewerFrameOf(readings);
        return frame.scale == 1.0 && frame.corner == ScreenPoint{100, 50};
    };
    FrameReadings noLast = stretchedBy(1.25);
    noLast.mappedLastPixel.reset();
    EXPECT_TRUE(unstretched(noLast));
    // A mapping that leaves the window's points where they are, or puts them
    // elsewhere than our coordinates do.
    FrameReadings identity = stretchedBy(1.5);
    identity.mappedCorner = ScreenPoint{100, 50};
    identity.mappedLastPixel = ScreenPoint{459, 369};
    EXPECT_TRUE(unstretched(identity));
    FrameReadings shifted = stretchedBy(1.5);
    shifted.mappedCorner = ScreenPoint{152, 75};
    EXPECT_TRUE(unstretched(shifted));
    // A mapping by another factor than our coordinates (an unaware viewer on a
    // monitor of another resolution than this program's).
    FrameReadings otherFactor = stretchedBy(1.25);
    otherFactor.mappedLastPixel = ScreenPoint{125 + 538, 63 + 478};
    EXPECT_TRUE(unstretched(otherFactor));
    // Stretched across more than down.
    FrameReadings uneven = stretchedBy(1.25);
    uneven.ours.bottom = uneven.ours.top + 360;
    EXPECT_TRUE(unstretched(uneven));
    // A frame with no size in its own coordinates (a window being destroyed).
    FrameReadings empty = stretchedBy(1.25);
    empty.own = ScreenRect{100, 50, 100, 50};
    EXPECT_TRUE(unstretched(empty));
}

}  // namespace
}  // namespace skl::test
