#pragma once
// The real desktop behind the main window in the Linux edition: the X server,
// reached through an xcb connection of the program's own, and Qt for the window,
// its dialogs and the clipboard. One implementation of each platform interface
// that the window's handlers talk to.

#include "capture/clipboard_qt.h"
#include "capture/desktop_posix.h"
#include "capture/desktop_x11.h"
#include "capture/metrics_qt.h"
#include "services/WinVersion_posix.h"
#include "services/alwaysontop_x11.h"
#include "services/folderBrowser_qt.h"
#include "window/Form1_qt.h"
#include "window/ShellFolders_posix.h"
#include "window/StepAside_x11.h"
#include "window/dialogs_qt.h"
#include "window/shell_qt.h"

namespace skl {

// What the window needs before it exists.
struct X11Screen {
    explicit X11Screen(const XcbConnection& x) : windows(x), grabber(x), aside(x) {}

    X11WindowLookup windows;
    X11ScreenGrabber grabber;
    PosixClock clock;
    QtScreenMetrics screen;
    X11StepAsideWindow aside;
};

// What belongs to the window.
struct X11Desktop {
    X11Desktop(const XcbConnection& x, X11Screen& shared, Form1Widget& window)
        : screen(shared), view(window), dialogs(window), topmost(x) {}

    // Every port of the window's handlers.
    Form1Ports ports() {
        return Form1Ports{L'/', view,
                          CapturePorts{view, screen.aside, screen.windows, screen.screen, screen.grabber, clipboard,
                                       files, screen.clock, dialogs},
                          specialFolders, osVersion, topmost, folderDialog, shell};
    }

    X11Screen& screen;
    Form1Widget& view;

    QtClipboard clipboard;
    PosixFileStore files;
    QtDialogs dialogs;
    XdgSpecialFolders specialFolders;
    UnameOsVersionSource osVersion;
    X11TopmostBand topmost;
    QtFolderDialog folderDialog;
    XdgOpenShell shell;
};

}  // namespace skl
