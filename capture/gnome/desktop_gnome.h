#pragma once
// The capture's ports in GNOME on Wayland, through the program's GNOME Shell
// extension: every viewer window, native Wayland or X11, found by its title and
// read from its own picture as the shell paints it.

#include <cstdint>
#include <string>
#include <vector>

#include "capture/Ports.h"
#include "capture/gnome/shell_extension_gnome.h"

namespace skl {

// What a user of GNOME on Wayland needs to know when a viewer is not found because
// the extension does not answer.
inline constexpr const wchar_t* gnomeExtensionAdvice =
    L"GNOME on Wayland lets programs see only the windows of X11 programs (such as a messenger running under "
    L"Wine), so the webcam window may be open and still not found.\n\n"
    L"This program's GNOME Shell extension finds every webcam window, but it is not enabled. Enable it with the "
    L"command\n\n    gnome-extensions enable skellimor@morvath.example\n\n"
    L"(or in the Extensions app), then start this program again. GNOME on Wayland loads a newly installed "
    L"extension only after logging in again: if the command says the extension does not exist, log out, log in "
    L"and enable it then. The extension comes with this program's Debian package.";

// What the user of GNOME on Wayland learns when the extension refuses the program.
Text gnomeExtensionRefusalAdvice(const Text& refusal);

// The extension names windows by the shell's 64-bit ids; a WindowHandle is the
// number of an id in the order the lookup first met it, from 1.
class GnomeWindowLookup final : public WindowLookup {
public:
    explicit GnomeWindowLookup(const GnomeShellExtension& extension) : extension_(extension) {}
    WindowHandle findWindow(const Text& title) override;
    // The shell keeps a minimised window's frame where it was.
    std::optional<ScreenPoint> restoredCorner(WindowHandle window) override;
    // The shell paints every window at the screen's own pixels.
    std::optional<double> pixelScale(WindowHandle) override { return std::nullopt; }
    // Where the extension stopped answering, what to do about it.
    Text hiddenWindowsAdvice() override { return advice_; }
    // Asks the extension once, as a lookup does; true where it answers.
    bool probe();
    // The extension's id of a window this lookup found; nothing for another handle.
    std::optional<std::uint64_t> idOf(WindowHandle window) const;

private:
    WindowHandle handleOf(std::uint64_t id);

    // The window titled `title_` as the extension sees it now; an id of 0 when none.
    GnomeShellExtension::Window lookUp();

    const GnomeShellExtension& extension_;
    std::string title_;
    Text advice_;
    std::vector<std::uint64_t> ids_;
};

// Reads the viewer's own picture through the extension. The screen itself is read
// as `screen` reads it.
class GnomeScreenGrabber final : public ScreenGrabber {
public:
    GnomeScreenGrabber(const GnomeShellExtension& extension, const GnomeWindowLookup& windows, ScreenGrabber& screen)
        : extension_(extension), windows_(windows), screen_(screen) {}
    GrabResult grab(const ScreenRect& rect) override { return screen_.grab(rect); }
    GrabResult grabViewer(WindowHandle viewer, const ScreenRect& rect) override;
    bool readsViewersOwnPicture() const override { return true; }
    std::unique_ptr<GrabbedBitmap> bitmapOf(Picture picture) override { return screen_.bitmapOf(std::move(picture)); }

private:
    const GnomeShellExtension& extension_;
    const GnomeWindowLookup& windows_;
    ScreenGrabber& screen_;
};

}  // namespace skl
