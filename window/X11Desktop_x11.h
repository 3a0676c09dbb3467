#pragma once
// The real desktop behind the main window in the Linux edition: the X server,
// reached through an xcb connection of the program's own, and Qt for the window,
// its dialogs and the clipboard. One implementation of each platform interface
// that the window's handlers talk to.

#include "capture/SessionRoute.h"
#include "capture/clipboard_qt.h"
#include "capture/desktop_gnome.h"
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

#include <cstdlib>

namespace skl {

// What a user of a Wayland session needs to know when a viewer is not found there.
inline constexpr const wchar_t* waylandHiddenWindowsAdvice =
    L"This desktop lets programs see only the windows of X11 programs (such as a messenger running under Wine), "
    L"not those of Wayland programs, so the webcam window may be open and still not found.\n\n"
    L"To take snapshots of it, start the messenger as an X11 program (many programs do so with "
    L"QT_QPA_PLATFORM=xcb or GDK_BACKEND=x11 in their environment), or log in to an X11 session.";

// What the program finds of its session at start, but for the GNOME Shell
// extension, which X11Screen asks where the route depends on it.
inline SessionFacts sessionFactsOf(const XcbConnection& x) {
    const char* desktops = std::getenv("XDG_CURRENT_DESKTOP");
    return {.xScreenCanBeRead = x.screenCanBeRead(), .gnomeDesktop = desktops != nullptr && desktopIsGnome(desktops)};
}

// What the window needs before it exists: the other programs' windows and their
// pixels reached the way the session allows.
struct X11Screen {
    X11Screen(const XcbConnection& x, SessionFacts session)
        : gnomeWindows(gnome),
          route(captureRouteFor(withGnomeExtension(session))),
          windows(x, hiddenAdvice(session)),
          grabber(x, route == CaptureRoute::X11 ? X11ScreenGrabber::Reads::Screen
                                                : X11ScreenGrabber::Reads::ViewersOwnWindow),
          gnomeGrabber(gnome, gnomeWindows, grabber),
          aside(x) {}

    // The ports the route reaches viewers through.
    WindowLookup& lookup() { return route == CaptureRoute::Gnome ? static_cast<WindowLookup&>(gnomeWindows) : windows; }
    ScreenGrabber& viewerGrabber() {
        return route == CaptureRoute::Gnome ? static_cast<ScreenGrabber&>(gnomeGrabber) : grabber;
    }

    GnomeShellExtension gnome;
    GnomeWindowLookup gnomeWindows;
    CaptureRoute route;
    X11WindowLookup windows;
    X11ScreenGrabber grabber;
    GnomeScreenGrabber gnomeGrabber;
    PosixClock clock;
    QtScreenMetrics screen;
    X11StepAsideWindow aside;

private:
    SessionFacts withGnomeExtension(SessionFacts session) {
        if (!session.xScreenCanBeRead && session.gnomeDesktop) session.gnomeExtensionAnswers = gnomeWindows.probe();
        return session;
    }
    // Where X11 viewers alone can be found, why; in GNOME, what the extension said.
    Text hiddenAdvice(const SessionFacts& session) {
        if (route != CaptureRoute::XWayland) return {};
        return session.gnomeDesktop ? gnomeWindows.hiddenWindowsAdvice() : waylandHiddenWindowsAdvice;
    }
};

// What belongs to the window.
struct X11Desktop {
    X11Desktop(const XcbConnection& x, X11Screen& shared, Form1Widget& window)
        : screen(shared), view(window), dialogs(window), topmost(x) {}

    // Every port of the window's handlers.
    Form1Ports ports() {
        return Form1Ports{L'/', view,
                          CapturePorts{view, screen.aside, screen.lookup(), screen.screen, screen.viewerGrabber(),
                                       clipboard, files, screen.clock, dialogs},
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
