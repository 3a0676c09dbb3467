// The sample webcam viewer as a native Wayland program, for the Linux edition's
// Wayland sessions: the same window and test picture as the X11 viewer
// (tools/webcam_viewer_x11.cpp), drawn by Qt on its Wayland platform. The window's
// frame is the compositor's to draw.
//
// Its command line is tools/ViewerOptions.h's. A Wayland program cannot place its
// own window: --at is refused; the tests move the window through the compositor.
// Any key press also advances the frame; Escape closes the viewer.

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <cstdio>

#include "tools/ViewerOptions.h"
#include "tools/test_picture.h"

namespace {

constexpr int clientWidth = 360;
constexpr int clientHeight = 320;
constexpr QRgb bandColour = 0xFF000060;

using Options = skl::viewer::Options<char>;

class Viewer final : public QWidget {
public:
    explicit Viewer(Options options) : options_(std::move(options)) {
        setWindowTitle(QString::fromUtf8("Webcam for ") + QString::fromStdString(options_.id));
        setFixedSize(clientWidth, clientHeight);
        setAttribute(Qt::WA_OpaquePaintEvent);
        if (options_.undecorated) setWindowFlag(Qt::FramelessWindowHint);
        if (options_.changingMs > 0) {
            connect(&timer_, &QTimer::timeout, this, [this] { advance(); });
            timer_.start(options_.changingMs);
        }
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QImage image(clientWidth, clientHeight, QImage::Format_RGB32);
        const int bandTop = clientHeight - skl::test_picture::textBandHeight;
        for (int y = 0; y < clientHeight; ++y) {
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < clientWidth; ++x) {
                const skl::test_picture::Rgb c = skl::test_picture::pixel(x, y, options_.frame);
                row[x] = y >= bandTop ? bandColour : qRgb(c.r, c.g, c.b);
            }
        }
        QPainter painter(this);
        painter.drawImage(0, 0, image);
        painter.setPen(Qt::white);
        painter.drawText(6, clientHeight - 6,
                         QString::fromStdString(options_.id) + QStringLiteral("  frame ") +
                             QString::number(options_.frame));
    }

    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Escape) {
            close();
        } else {
            advance();
        }
    }

private:
    void advance() {
        ++options_.frame;
        update();
    }

    Options options_;
    QTimer timer_;
};

}  // namespace

int main(int argc, char** argv) {
    const auto options = skl::viewer::parseOptions(argc, argv);
    if (!options) {
        std::fprintf(stderr, "%s\n", skl::viewer::usage);
        return 2;
    }
    if (options->at) {
        std::fputs("webcam_viewer_wayland: a Wayland program cannot place its window (--at)\n", stderr);
        return 2;
    }
    // Qt draws no frame of its own: the compositor's frame is the viewer's outer
    // frame, as it is for an X11 viewer under a window manager.
    qputenv("QT_QPA_PLATFORM", "wayland");
    qputenv("QT_WAYLAND_DISABLE_WINDOWDECORATION", "1");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication application(argc, argv);
    Viewer viewer(*options);
    viewer.show();
    return QApplication::exec();
}
