// The Linux edition's entry: checks that there is an X display to work on,
// creates the main window, runs its load handler before the window first shows,
// and runs the event loop until the window is gone.

#include <QApplication>

#include <cstdio>
#include <cstdlib>

#include "window/qt/LinuxDesktop_qt.h"

namespace {

// Why the program cannot run here, in one line; empty when it can.
const char* missingDisplay(const skl::XcbConnection& x) {
    if (std::getenv("DISPLAY") == nullptr || *std::getenv("DISPLAY") == '\0') {
        return std::getenv("WAYLAND_DISPLAY") != nullptr
                   ? "this Wayland session runs no XWayland (DISPLAY is not set), which the program's window needs"
                   : "there is no X display to work on (DISPLAY is not set)";
    }
    return x.connected() ? "" : "the X display named by DISPLAY cannot be opened";
}

}  // namespace

int main(int argc, char** argv) {
    using namespace skl;
    const XcbConnection x;
    if (const char* problem = missingDisplay(x); *problem != '\0') {
        std::fprintf(stderr, "morvaths-skellimor: %s.\n", problem);
        return 1;
    }
    // The window is an X window, also in a Wayland session (under XWayland): there
    // the window system still tells where it is and whether it is minimised, which
    // the stepping aside needs, and its controls stand in the screen's real pixels
    // at their twips places.
    qputenv("QT_QPA_PLATFORM", "xcb");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication application(argc, argv);

    X11Screen screen(x, sessionFactsOf(x));
    Form1Widget view(screen.screen.twipsPerPixelX(), screen.aside);
    LinuxDesktop desktop(x, screen, view);
    Form1 form(desktop.ports());
    view.attach(form);
    form.Form_Load();
    view.showCentred([&] { desktop.topmost.windowShown(view.hWnd()); });
    return QApplication::exec();
}
