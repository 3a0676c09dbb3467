#pragma once
// The real desktop behind the main window in the Linux edition: the X server,
// reached through an xcb connection of the program's own, and Qt for the window,
// its dialogs and the clipboard. One implementation of each platform interface
// that the window's handlers talk to.

#include <QProcess>

#include <cstdlib>
#include <memory>

#include "capture/SessionRoute.h"
#include "capture/gnome/desktop_gnome.h"
#include "capture/kwin/desktop_kwin.h"
#include "capture/kwin/screenshot_kwin.h"
#include "capture/posix/desktop_posix.h"
#include "capture/qt/desktop_qt.h"
#include "capture/sway/StepAside_sway.h"
#include "capture/sway/desktop_sway.h"
#include "capture/x11/StepAside_x11.h"
#include "capture/x11/grab_x11.h"
#include "capture/x11/windows_x11.h"
#include "services/qt/folderBrowser_qt.h"
#include "services/x11/alwaysontop_x11.h"
#include "window/posix/ShellFolders_posix.h"
#include "window/qt/Form1_qt.h"
#include "window/qt/dialogs_qt.h"

namespace skl {

// What a user of a Wayland session needs to know when a viewer is not found there.
inline constexpr const wchar_t* waylandHiddenWindowsAdvice =
    L"This desktop lets programs see only the windows of X11 programs (such as a messenger running under Wine), "
    L"not those of Wayland programs, so the webcam window may be open and still not found.\n\n"
    L"To take snapshots of it, start the messenger as an X11 program (many programs do so with "
    L"QT_QPA_PLATFORM=xcb or GDK_BACKEND=x11 in their environment), or log in to an X11 session.";

// Addresses open with the desktop's URL handler: xdg-open, started and not waited
// for; failures are ignored.
class XdgOpenShell final : public Shell {
public:
    void openAddress(const Text& address) override {
        QProcess::startDetached(QStringLiteral("xdg-open"), {QString::fromStdWString(address)});
    }
};

// What the program finds of its session at start, but for the GNOME Shell
// extension, which X11Screen asks where the route depends on it.
inline SessionFacts sessionFactsOf(const XcbConnection& x) {
    SessionFacts facts{.xScreenCanBeRead = x.screenCanBeRead()};
    if (!facts.xScreenCanBeRead) {
        const char* desktops = std::getenv("XDG_CURRENT_DESKTOP");
        facts.gnomeDesktop = desktops != nullptr && desktopIsGnome(desktops);
        facts.swayAnswers = SwayIpc::answersAt(std::getenv("SWAYSOCK"));
        facts.kwinOnSessionBus = !facts.swayAnswers && !facts.gnomeDesktop && kwinAnswersOnSessionBus();
    }
    return facts;
}

// On sway, what reaches other programs' windows, the screen and the window's own
// place: the compositor's IPC ($SWAYSOCK) and its screen copies.
struct SwaySession {
    SwaySession(const char* socket, const X11StepAsideWindow& window)
        : ipc(socket), windows(ipc), grabber(ipc), aside(ipc, window) {}

    SwayIpc ipc;
    SwayWindowLookup windows;
    SwayScreenGrabber grabber;
    SwayStepAsideWindow aside;
};

// In a KDE Plasma session: KWin's ports, which share the windows they have found.
struct KWinSession {
    explicit KWinSession(const XcbConnection& x) : windows(x, table, captures), grabber(x, table, captures) {}

    KWinWindowTable table;
    KWinWindowCaptures captures;
    KWinWindowLookup windows;
    KWinScreenGrabber grabber;
};

// In GNOME on Wayland: the program's GNOME Shell extension; the screen, where it is
// read at all, as `screen` reads it.
struct GnomeSession {
    explicit GnomeSession(ScreenGrabber& screen) : windows(extension), grabber(extension, windows, screen) {}

    GnomeShellExtension extension;
    GnomeWindowLookup windows;
    GnomeScreenGrabber grabber;
};

// What the window needs before it exists: the other programs' windows and their
// pixels reached the way the session allows.
struct X11Screen {
    X11Screen(const XcbConnection& x, SessionFacts session)
        : x11Grabber(x, session.xScreenCanBeRead ? X11ScreenGrabber::Reads::Screen
                                                 : X11ScreenGrabber::Reads::ViewersOwnWindow),
          gnome(x11Grabber),
          route(captureRouteFor(withGnomeExtension(session))),
          x11Windows(x, hiddenAdvice(session)),
          aside(x) {
        if (route == CaptureRoute::Sway) sway = std::make_unique<SwaySession>(std::getenv("SWAYSOCK"), aside);
        if (route == CaptureRoute::KWin) kwin = std::make_unique<KWinSession>(x);
    }

    // The ports of the session's route.
    WindowLookup& windows() {
        if (sway) return sway->windows;
        if (kwin) return kwin->windows;
        if (route == CaptureRoute::Gnome) return gnome.windows;
        return x11Windows;
    }
    ScreenGrabber& grabber() {
        if (sway) return sway->grabber;
        if (kwin) return kwin->grabber;
        if (route == CaptureRoute::Gnome) return gnome.grabber;
        return x11Grabber;
    }
    // On sway the window steps aside through the compositor; elsewhere the X11 way
    // (where KWin, GNOME's shell or XWayland give the viewer's own picture, the
    // window is clear).
    StepAsideWindow& stepAside() { return sway ? static_cast<StepAsideWindow&>(sway->aside) : aside; }

    X11ScreenGrabber x11Grabber;
    GnomeSession gnome;
    CaptureRoute route;
    X11WindowLookup x11Windows;
    PosixClock clock;
    QtScreenMetrics screen;
    // The window's X11 side, which the window tells its X window and its input's
    // times, whatever the route.
    X11StepAsideWindow aside;
    std::unique_ptr<SwaySession> sway;
    std::unique_ptr<KWinSession> kwin;

private:
    SessionFacts withGnomeExtension(SessionFacts session) {
        if (!session.xScreenCanBeRead && session.gnomeDesktop) session.gnomeExtensionAnswers = gnome.windows.probe();
        return session;
    }
    // Where X11 viewers alone can be found, why; in GNOME, what the extension said.
    Text hiddenAdvice(const SessionFacts& session) {
        if (route != CaptureRoute::XWayland) return {};
        return session.gnomeDesktop ? gnome.windows.hiddenWindowsAdvice() : waylandHiddenWindowsAdvice;
    }
};

// What belongs to the window.
struct LinuxDesktop {
    LinuxDesktop(const XcbConnection& x, X11Screen& shared, Form1Widget& window)
        : screen(shared), view(window), dialogs(window), topmost(x) {}

    // Every port of the window's handlers; the option of the NT family shows.
    Form1Ports ports() {
        return Form1Ports{L'/', PlatformFamily::WindowsNT, view,
                          CapturePorts{view, screen.stepAside(), screen.windows(), screen.screen, screen.grabber(),
                                       clipboard, files, screen.clock, dialogs},
                          specialFolders, topmost, folderDialog, shell};
    }

    X11Screen& screen;
    Form1Widget& view;

    QtClipboard clipboard;
    PosixFileStore files;
    QtDialogs dialogs;
    XdgSpecialFolders specialFolders;
    X11TopmostBand topmost;
    QtFolderDialog folderDialog;
    XdgOpenShell shell;
};

}  // namespace skl
