#pragma once
// Opening an address with the desktop's URL handler.

#include "window/Form1.h"

namespace skl {

class XdgOpenShell final : public Shell {
public:
    // Starts xdg-open with the address and does not wait for it; failures are ignored.
    void openAddress(const Text& address) override;
};

}  // namespace skl
