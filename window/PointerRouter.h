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
// toolkit feeds it every press and release over the window in client pixels, and
// every selection of an option button. What runs is the Form1 handler that the
// control's row in the window's definition names.

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
    // An option button was selected, by the mouse or the keyboard: its Click runs.
    void optionClicked(Control option);

private:
    void run(Handler handler) { (form_.*handler)(); }

    Form1& form_;
    const WindowFace& face_;
    MouseCapture& capture_;
    // The control that got the first press; none: the ground.
    std::optional<Control> pressed_;
    unsigned buttonsDown_ = 0;
    // A MouseDown showed a pressed look that no MouseUp has put back yet.
    bool looksPressed_ = false;
};

}  // namespace skl
