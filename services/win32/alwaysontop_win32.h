#pragma once
// The Win32 topmost band.

#include "services/alwaysontop.h"

namespace skl {

class Win32TopmostBand final : public TopmostBand {
public:
    void setTopmost(WindowHandle window, bool topmost) override;
};

}  // namespace skl
