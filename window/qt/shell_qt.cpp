#include "window/qt/shell_qt.h"

#include <QProcess>

namespace skl {

void XdgOpenShell::openAddress(const Text& address) {
    QProcess::startDetached(QStringLiteral("xdg-open"), {QString::fromStdWString(address)});
}

}  // namespace skl
