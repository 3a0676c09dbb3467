#include "PointerRouter.h"

namespace skl {

using enum Control;

std::optional<Pair> PointerRouter::mouseDownUpPair(Target target) {
    switch (target) {
        case Target::directions: return Pair::directions;
        case Target::newcam: return Pair::newcam;
        case Target::pick: return Pair::pick;
        case Target::prev: return Pair::prev;
        default: return std::nullopt;
    }
}

PointerRouter::Target PointerRouter::targetAt(PixelPoint at) const {
    const auto control = face_.controlAt(at);
    if (!control) return Target::ground;
    switch (*control) {
        case Picture1: return Target::Picture1;
        case directions0:
        case directions1: return Target::directions;
        case newcam0:
        case newcam1: return Target::newcam;
        case pick0:
        case pick1: return Target::pick;
        case prev0:
        case prev1: return Target::prev;
        case ontop0:
        case ontop1: return Target::ontop;
        case xit: return Target::xit;
        case brellow: return Target::brellow;
        default: break;  // the controls that take no input
    }
    return Target::ground;
}

void PointerRouter::press(MouseButton button, PixelPoint at) {
    const auto bit = static_cast<unsigned>(button);
    if (buttonsDown_ & bit) return;  // its release went astray; this is the same press
    if (buttonsDown_ == 0) {
        pressed_ = targetAt(at);
        capture_.captureMouse();
    }
    buttonsDown_ |= bit;
    const auto pair = mouseDownUpPair(pressed_);
    if (pair && !looksPressed_) {
        looksPressed_ = true;
        mouseDown(*pair);
    }
}

void PointerRouter::release(MouseButton button, PixelPoint at) {
    const auto bit = static_cast<unsigned>(button);
    if (!(buttonsDown_ & bit)) return;  // pressed before the window had the mouse
    buttonsDown_ &= ~bit;
    // The state is settled before any handler runs: a handler may open a dialog,
    // which takes the mouse and lets other events in.
    const Target target = pressed_;
    const auto pair = mouseDownUpPair(target);
    // Each MouseDown has one MouseUp: the first release ends the press.
    const bool endsPress = pair && looksPressed_;
    if (endsPress) looksPressed_ = false;
    if (buttonsDown_ == 0) {
        pressed_ = Target::ground;
        capture_.releaseMouse();
    }
    if (endsPress) {
        mouseUp(*pair);
    } else if (!pair && button == MouseButton::left && targetAt(at) == target) {
        click(target);
    }
}

void PointerRouter::captureLost() {
    const Target target = pressed_;
    const bool looksPressed = looksPressed_;
    pressed_ = Target::ground;
    buttonsDown_ = 0;
    looksPressed_ = false;
    if (const auto pair = mouseDownUpPair(target); pair && looksPressed) form_.pressCancelled(*pair);
}

void PointerRouter::mouseDown(Pair pair) {
    switch (pair) {
        case Pair::directions: form_.directions_MouseDown(); break;
        case Pair::newcam: form_.newcam_MouseDown(); break;
        case Pair::pick: form_.pick_MouseDown(); break;
        case Pair::prev: form_.prev_MouseDown(); break;
        case Pair::ontop: break;  // takes clicks only
    }
}

void PointerRouter::mouseUp(Pair pair) {
    switch (pair) {
        case Pair::directions: form_.directions_MouseUp(); break;
        case Pair::newcam: form_.newcam_MouseUp(); break;
        case Pair::pick: form_.pick_MouseUp(); break;
        case Pair::prev: form_.prev_MouseUp(); break;
        case Pair::ontop: break;
    }
}

void PointerRouter::click(Target target) {
    switch (target) {
        case Target::Picture1: form_.Picture1_Click(); break;
        case Target::ontop: form_.ontop_Click(); break;
        case Target::xit: form_.xit_Click(); break;
        case Target::brellow: form_.brellow_Click(); break;
        default: break;
    }
}

}  // namespace skl
