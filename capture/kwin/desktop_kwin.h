#pragma once
// The capture's ports in a KDE Plasma session, through KWin on the session bus:
// every window, native Wayland or on XWayland, found by its exact title with a
// short KWin script, and its own picture copied by KWin's screenshot interface.
// Each call to KWin is bounded (kwinCallMilliseconds).

#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QString>
#include <QVariantList>

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>

#include "capture/Ports.h"
#include "capture/WindowImage.h"
#include "capture/x11/grab_x11.h"

namespace skl {

// No call to KWin, nor the reading of a picture it sends, takes longer than this.
inline constexpr int kwinCallMilliseconds = 2000;

// Whether KWin answers on the session bus.
bool kwinAnswersOnSessionBus();

inline const QString kwinService = QStringLiteral("org.kde.KWin");

// The reply to the method call, or the error that came instead (a timeout
// included). Blocks without running the program's event loop.
QDBusMessage callKWin(const QString& path, const QString& interface, const QString& method,
                      const QVariantList& arguments);

// Sends the call; its reply comes later, or an error after kwinCallMilliseconds.
QDBusPendingCall callKWinLater(const QString& path, const QString& interface, const QString& method,
                               const QVariantList& arguments);

// Sends the call and does not wait for its reply.
void tellKWin(const QString& path, const QString& interface, const QString& method, const QVariantList& arguments);

// A window KWin knows, as it was when last found.
struct KWinWindow {
    std::string id;  // KWin's id of the window, a UUID in braces
    WindowPictureGeometry geometry;
    std::uint32_t x11Window = 0;  // the client's X window where it is an X11 program's
    bool minimised = false;
};

// The windows handed out as WindowHandles, the latest few: a handle is never
// reused within a run, so an old one is gone rather than another window.
class KWinWindowTable {
public:
    static constexpr std::size_t kept = 16;
    WindowHandle remember(KWinWindow window);
    const KWinWindow* find(WindowHandle handle) const;

private:
    std::deque<std::pair<WindowHandle, KWinWindow>> windows_;
    WindowHandle next_ = 1;
};

class KWinWindowList;
class KWinWindowCaptures;

// Windows by their exact caption, from KWin's own list (its windows of every kind).
// The corner is the outer frame's, which KWin keeps while a window is minimised.
class KWinWindowLookup final : public WindowLookup {
public:
    // The picture of the viewer found the last time is asked for while KWin lists
    // its windows (captures), in case it is the one found again.
    KWinWindowLookup(const XcbConnection& x, KWinWindowTable& table, KWinWindowCaptures& captures);
    ~KWinWindowLookup() override;
    WindowHandle findWindow(const Text& title) override;
    std::optional<ScreenPoint> restoredCorner(WindowHandle window) override;
    // KWin's pictures come at the screen's pixels (or say their scale).
    std::optional<double> pixelScale(WindowHandle) override { return std::nullopt; }
    Text hiddenWindowsAdvice() override { return {}; }

private:
    const XcbConnection& x_;
    KWinWindowTable& table_;
    KWinWindowCaptures& captures_;
    std::unique_ptr<KWinWindowList> list_;
    // The title last looked for and KWin's id of the window found, where it was not minimised.
    std::string lastTitle_;
    std::string lastFound_;
};

// The viewer's own picture through KWin (what covers it is not in it). KWin gives
// pictures only to the program its desktop entry names; where it refuses, an X11
// viewer is read from its own X window instead, and the user is told once why
// other viewers cannot be copied and how to run the program so that they can.
class KWinScreenGrabber final : public ScreenGrabber {
public:
    KWinScreenGrabber(const XcbConnection& x, const KWinWindowTable& table, KWinWindowCaptures& captures);
    GrabResult grab(const ScreenRect& rect) override;
    GrabResult grabViewer(WindowHandle viewer, const ScreenRect& rect) override;
    bool readsViewersOwnPicture() const override { return true; }
    std::unique_ptr<GrabbedBitmap> bitmapOf(Picture picture) override { return x11_.bitmapOf(std::move(picture)); }

private:
    // Why KWin refused, the whole story the first time, briefly after.
    Text refusal();

    const KWinWindowTable& table_;
    KWinWindowCaptures& captures_;
    X11ScreenGrabber x11_;
    bool refusalExplained_ = false;
};

}  // namespace skl
