#pragma once
// Opening an address in the user's browser through the shell.

#include "window/Form1.h"

namespace skl {

class Win32Shell final : public Shell {
public:
    void openAddress(const Text& address) override;
};

}  // namespace skl
