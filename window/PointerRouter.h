#pragma once
// Routes the mouse's presses and releases on the main window to the handlers of
// its picture controls, the way a Windows program's controls get them: the
// control under the pointer when the first button goes down (or the window's
// ground) takes every press and release until the last button is up. A Click
// happens only when the left button is released over the control that got the
// press, so a drag from elsewhere runs nothing. MouseDown and MouseUp go to the
// pressed control wherever the pointer is, once for each press: the first button
// down presses it, the first button up releases it, and a second button held
// meanwhile neither presses it again nor reaches any other control. The window
// toolkit feeds it every press and release over the window in client pixels.

#include <cstdint>

#include "window/Form1.h"
#include "window/WindowFace.h"

namespace skl {

enum class MouseButton : std::uint8_t { left = 1, right = 2, middle = 4 };

// The window's hold on the mouse, so that releases outside it still come back.
class MouseCapture {
public:
    virtual ~MouseCapture() = default;
    virtual void captureMouse() = 0;
    virtual void releaseMouse() = 0;
};

class PointerRouter {
public:
    PointerRouter(Form1& form, const WindowFace& face, MouseCapture& capture)
        : form_(form), face_(face), capture_(capture) {}

    void press(MouseButton button, PixelPoint at);
    void release(MouseButton button, PixelPoint at);
    // The window lost the mouse (another window was activated, a dialog opened):
    // a pressed button shows its look at rest again, and nothing runs.
    void captureLost();

private:
    // What a press lands on: a control's handlers, or the ground, which has none.
    enum class Target : std::uint8_t { ground, Picture1, directions, newcam, pick, prev, ontop, xit, brellow };

    // The pair whose MouseDown and MouseUp the target runs; none for the controls
    // that take clicks and for the ground.
    static std::optional<Pair> mouseDownUpPair(Target target);
    Target targetAt(PixelPoint at) const;
    void mouseDown(Pair pair);
    void mouseUp(Pair pair);
    void click(Target target);

    Form1& form_;
    const WindowFace& face_;
    MouseCapture& capture_;
    Target pressed_ = Target::ground;
    unsigned buttonsDown_ = 0;
    // A MouseDown showed a pressed look that no MouseUp has put back yet.
    bool looksPressed_ = false;
};

}  // namespace skl
