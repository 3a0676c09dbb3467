#pragma once
// alwaysontop: puts a window into the topmost band of the window stack or out of it.

#include "capture/CaptureState.h"

namespace skl {

class TopmostBand {
public:
    virtual ~TopmostBand() = default;
    virtual void setTopmost(WindowHandle window, bool topmost) = 0;
};

}  // namespace skl
