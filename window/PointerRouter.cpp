#include "PointerRouter.h"

namespace skl {
namespace {

// The row of what a press landed on: the ground's has no handlers.
const ControlDefinition& rowOf(std::optional<Control> control) {
    static constexpr ControlDefinition ground{};
    return control ? definitionOf(*control) : ground;
}

}  // namespace

void PointerRouter::press(MouseButton button, PixelPoint at) {
    const auto bit = static_cast<unsigned>(button);
    if (buttonsDown_ & bit) return;  // its release went astray; this is the same press
    if (buttonsDown_ == 0) {
        pressed_ = face_.controlAt(at);
        capture_.captureMouse();
    }
    buttonsDown_ |= bit;
    const ControlDefinition& row = rowOf(pressed_);
    if (row.mouseDown && !looksPressed_) {
        looksPressed_ = true;
        run(row.mouseDown);
    }
}

void PointerRouter::release(MouseButton button, PixelPoint at) {
    const auto bit = static_cast<unsigned>(button);
    if (!(buttonsDown_ & bit)) return;  // pressed before the window had the mouse
    buttonsDown_ &= ~bit;
    // The state is settled before any handler runs: a handler may open a dialog,
    // which takes the mouse and lets other events in.
    const std::optional<Control> target = pressed_;
    const ControlDefinition& row = rowOf(target);
    // Each MouseDown has one MouseUp: the first release ends the press.
    const bool endsPress = row.mouseUp && looksPressed_;
    if (endsPress) looksPressed_ = false;
    if (buttonsDown_ == 0) {
        pressed_.reset();
        capture_.releaseMouse();
    }
    if (endsPress) {
        run(row.mouseUp);
    } else if (row.click && button == MouseButton::left && face_.controlAt(at) == target) {
        run(row.click);
    }
}

void PointerRouter::captureLost() {
    const ControlDefinition& row = rowOf(pressed_);
    const bool looksPressed = looksPressed_;
    pressed_.reset();
    buttonsDown_ = 0;
    looksPressed_ = false;
    // Every row with a pressed look belongs to a pair.
    if (row.mouseDown && looksPressed) form_.pressCancelled(*row.pair);
}

void PointerRouter::optionClicked(Control option) {
    const ControlDefinition& row = definitionOf(option);
    if (row.kind == ControlKind::OptionButton) run(row.click);
}

}  // namespace skl
