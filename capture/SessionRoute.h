#pragma once
// Which way the Linux edition reaches other programs' windows and their pixels,
// chosen once at start from the session it finds.

#include <string_view>

namespace skl {

enum class CaptureRoute {
    // An X11 session: windows by title over X, the camera copied from the screen.
    X11,
    // A Wayland session whose desktop offers programs no way to its windows: the
    // windows of X11 programs (on XWayland) by title over X, each read from its own
    // picture, which XWayland keeps whole.
    XWayland,
    // sway, or another wlroots compositor that speaks its IPC: every window (Wayland
    // and X11 programs' alike) by title through the compositor's IPC, the screen
    // copied through its screen-copy protocol, and the window moved out of the
    // picture through the IPC (sway has no minimise).
    Sway,
    // A KDE Plasma session (KWin): every window, native or on XWayland, by title
    // through KWin's scripting, and its picture through KWin's screenshots.
    KWin,
    // GNOME on Wayland with the program's GNOME Shell extension answering on the
    // session bus: every viewer, native or X11, found by title and read from its own
    // picture through the extension.
    Gnome,
};

// What the program finds of its session at start.
struct SessionFacts {
    // Whether the X server it talks to lets its screen be read; a Wayland session's
    // (XWayland) has no screen of its own.
    bool xScreenCanBeRead = true;
    // Whether $SWAYSOCK names a socket on which the compositor answers its IPC.
    bool swayAnswers = false;
    // Whether KWin answers on the session bus.
    bool kwinOnSessionBus = false;
    // Whether the desktop is GNOME (desktopIsGnome).
    bool gnomeDesktop = false;
    // Whether the program's GNOME Shell extension answers on the session bus; only
    // asked where the route depends on it.
    bool gnomeExtensionAnswers = false;
};

CaptureRoute captureRouteFor(const SessionFacts& session);

// Whether XDG_CURRENT_DESKTOP, a colon-separated list of names, names GNOME.
bool desktopIsGnome(std::string_view xdgCurrentDesktop);

}  // namespace skl
