#pragma once
// Keeping the main window above the others through the window manager
// (_NET_WM_STATE_ABOVE), without re-creating, hiding or moving it.

#include <QWidget>

#include "services/alwaysontop.h"

namespace skl {

class QtTopmostBand final : public TopmostBand {
public:
    explicit QtTopmostBand(QWidget& window) : window_(window) {}
    // The window is the main window, whose handle the caller passes.
    void setTopmost(WindowHandle window, bool topmost) override;

private:
    QWidget& window_;
};

}  // namespace skl
