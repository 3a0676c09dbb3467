#pragma once
// Modal message boxes and the input box, owned by the main window.

#include <QWidget>

#include "capture/Ports.h"

namespace skl {

class QtDialogs final : public Dialogs {
public:
    explicit QtDialogs(QWidget& owner) : owner_(owner) {}
    void messageBox(const Text& prompt, MessageIcon icon, const Text& title) override;
    Text inputBox(const Text& prompt, const Text& title) override;

private:
    QWidget& owner_;
};

}  // namespace skl
