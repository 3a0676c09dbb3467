#pragma once
// Getting the main window out of the picture for a grab, and back. One rule for
// every desktop:
// - Where the window's outer frame, widened by the shadow a compositor may draw
//   around it, does not meet the grab rectangle, the screen there already shows
//   what the snapshot wants: the grab runs first, and the window is minimised
//   afterwards, so that nothing of its leaving (an animation, a fade) can reach the
//   picture.
// - Where it does, the window leaves the screen at once and the grab waits until
//   the desktop has been drawn without it: no frame of the window showing, and the
//   area settled (under a compositor, across at least two of its frames).
// - Afterwards the window comes back to its place, not minimised, and that is
//   checked: a window manager that carried out a request late or dropped it is
//   asked once more.

#include <cstdint>
#include <optional>

#include "CaptureState.h"
#include "Picture.h"
#include "Ports.h"

namespace skl {

// How the window leaves the screen.
enum class Leaving {
    Minimise,  // as the user would minimise it
    AtOnce,    // taken off the screen with no animation (hidden)
};

// What the rule reads of the window before a snapshot, read together in one call.
struct StepAsideStart {
    // The window's outer frame on the screen, decorations included; nothing while
    // it does not show (it is minimised or hidden).
    std::optional<ScreenRect> frame;
    // Whether a compositor draws the screen: it may draw a shadow around the frame
    // and fade the window out rather than take it away at once.
    bool composited = false;
    // Whether the window stays above the others (On Top), which it must again once back.
    bool above = false;
};

// The main window as the window system shows it; each edition implements it.
class StepAsideWindow {
public:
    virtual ~StepAsideWindow() = default;
    // The window as the rule finds it before a snapshot.
    virtual StepAsideStart observe() = 0;
    // The outer frame now, as in StepAsideStart.
    virtual std::optional<ScreenRect> outerFrame() = 0;
    // start: what observe gave before.
    virtual void leave(Leaving how, const StepAsideStart& start) = 0;
    // Whether no frame of the window shows on the screen any more, by the window
    // system's own account.
    virtual bool hasLeft() = 0;
    // Waits for the compositor's next composed frame where the window system offers
    // such a wait; false where it does not (the area is then watched instead).
    virtual bool awaitComposedFrame() = 0;
    // Brings the window back, normal and active, above the others where it stayed
    // on top, and to the frame's place where one was observed. Asked again, it
    // repeats what was not done.
    virtual void comeBack(const StepAsideStart& start) = 0;
    // Whether the window shows again, not minimised, above the others where it
    // stayed on top, with its frame at the place where one was observed.
    virtual bool isBack(const StepAsideStart& start) = 0;
};

// The room a compositor's shadow may take around a window's frame.
inline constexpr std::int32_t shadowMargin = 64;

// Judges successive reads of the area the window covered, once the window system
// says the window has left it.
class SettleRule {
public:
    // The whole wait, from the window's leaving, is bounded by this.
    static constexpr std::int64_t limitMilliseconds = 500;
    // Under a compositor the area must stay unchanged this long: longer than the
    // longest a compositor holds one frame of a fade, so two frames at least.
    static constexpr std::int64_t composedSettleMilliseconds = 40;
    // Without one, content that shares more than chance with the window counts as
    // drawn once it has not changed for this long...
    static constexpr std::int64_t plainSettleMilliseconds = 25;
    // ...and content that still looks mostly like the window, this long: the program
    // beneath may not have repainted yet (an X window without a background keeps
    // the pixels of the window that covered it until then), or the window's look was
    // read before it was drawn, when it showed what lies beneath.
    static constexpr std::int64_t staleSettleMilliseconds = 200;

    // ownPixels: how the area looked before the window left (only without a compositor).
    SettleRule(bool composited, Picture ownPixels, std::int64_t startedMs)
        : composited_(composited), own_(std::move(ownPixels)), started_(startedMs) {}

    // True once the area, read at nowMs, counts as drawn without the window.
    bool isSettled(const Picture& area, std::int64_t nowMs);
    bool timedOut(std::int64_t nowMs) const { return nowMs - started_ >= limitMilliseconds; }

private:
    bool composited_;
    Picture own_;
    std::int64_t started_;
    std::optional<Picture> previous_;
    std::int64_t unchangedSince_ = 0;
};

// One snapshot's stepping aside: judges the window's place on construction, leaves
// when asked, and brings the window back when it goes out of scope.
class StepAside {
public:
    // How long the window manager has to carry out the minimise before the window
    // is brought back, and to bring it back before it is asked once more.
    static constexpr std::int64_t minimiseAllowanceMilliseconds = 100;
    static constexpr std::int64_t returnAllowanceMilliseconds = 250;

    StepAside(StepAsideWindow& window, ScreenGrabber& grabber, Clock& clock, const ScreenRect& grab);
    ~StepAside();
    StepAside(const StepAside&) = delete;
    StepAside& operator=(const StepAside&) = delete;

    // Whether the screen in the grab rectangle is what the snapshot wants already,
    // so that the grab may run before the window leaves.
    bool grabFirst() const { return !covered_; }
    // Takes the window off the screen: minimised when the grab came first, else at once.
    void leave();
    // After leave: returns once the desktop has been drawn without the window in the
    // grab rectangle, or after a bounded wait. Nothing to wait for when the grab came first.
    void waitUntilClear();

private:
    // Polls until the condition holds or the time is up; whether it held.
    template <typename Condition>
    bool waitFor(std::int64_t milliseconds, Condition condition);
    void comeBack();

    StepAsideWindow& window_;
    ScreenGrabber& grabber_;
    Clock& clock_;
    const StepAsideStart start_;
    // Whether the wait counts on a compositor: only where the frame is known.
    bool composited_ = false;
    // The part of the grab rectangle the window (with its shadow) covers.
    std::optional<ScreenRect> covered_;
    Picture ownPixels_;
    std::optional<Leaving> left_;
};

}  // namespace skl
