#include "capture/qt/metrics_qt.h"

#include <QGuiApplication>
#include <QScreen>

#include "capture/Checked.h"

namespace skl {

double QtScreenMetrics::twipsPerPixelX() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return twipsPerPixelAt(screen ? qRound(screen->logicalDotsPerInchX()) : 0);
}

double QtScreenMetrics::twipsPerPixelY() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return twipsPerPixelAt(screen ? qRound(screen->logicalDotsPerInchY()) : 0);
}

}  // namespace skl
