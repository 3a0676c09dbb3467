#include "services/alwaysontop_qt.h"

#include <QWindow>

namespace skl {

void QtTopmostBand::setTopmost(WindowHandle, bool topmost) {
    // The native window's flags change in place: the window manager is asked to
    // change its state (or, before the window first shows, finds it set). The
    // widget only notes the new flags; through the widget they would re-create the
    // native window, which the window manager would then place anew.
    Qt::WindowFlags flags = window_.windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, topmost);
    window_.overrideWindowFlags(flags);
    window_.winId();
    window_.windowHandle()->setFlags(flags);
}

}  // namespace skl
