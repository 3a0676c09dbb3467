#pragma once
// alwaysontop: puts a window into the topmost band of the window stack or out of it.

#include <cstdint>

#include "capture/CaptureState.h"

namespace skl {

class TopmostBand {
public:
    virtual ~TopmostBand() = default;
    virtual void setTopmost(WindowHandle window, bool topmost) = 0;
};

// onTop is a 16-bit Boolean: 0 is false, any other value true.
inline void SetAlwaysOnTop(TopmostBand& band, WindowHandle hwnd, std::int16_t onTop) {
    band.setTopmost(hwnd, onTop != 0);
}

}  // namespace skl
