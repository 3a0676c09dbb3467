#include "capture/qt/desktop_qt.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>

#include "capture/Checked.h"

namespace skl {
namespace {

// The picture as an opaque 32-bit image of its own, which the clipboard keeps.
QImage imageOf(const Picture& picture) {
    QImage image(picture.width, picture.height, QImage::Format_RGB32);
    for (std::int32_t y = 0; y < picture.height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (std::int32_t x = 0; x < picture.width; ++x) row[x] = 0xFF000000U | picture.at(x, y);
    }
    return image;
}

}  // namespace

bool QtClipboard::tryPutBitmap(const Picture& picture) {
    QGuiApplication::clipboard()->setImage(imageOf(picture), QClipboard::Clipboard);
    return true;
}

double QtScreenMetrics::twipsPerPixelX() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return twipsPerPixelAt(screen ? qRound(screen->logicalDotsPerInchX()) : 0);
}

double QtScreenMetrics::twipsPerPixelY() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return twipsPerPixelAt(screen ? qRound(screen->logicalDotsPerInchY()) : 0);
}

}  // namespace skl
