#include "services/alwaysontop_qt.h"

#include <QWindow>

namespace skl {

void QtTopmostBand::setTopmost(WindowHandle, bool topmost) {
    QWindow* native = window_.windowHandle();
    if (!native) {
        // Before the window first shows: its native window is made with the flag.
        window_.setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
        return;
    }
    // The native window's flags change in place: the window manager is asked to
    // change its state. The widget only notes the new flags; through the widget
    // they would re-create the native window, which the window manager would then
    // place anew.
    Qt::WindowFlags flags = window_.windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, topmost);
    window_.overrideWindowFlags(flags);
    native->setFlags(flags);
}

}  // namespace skl
