#pragma once
// The real desktop behind the main window: one Win32 implementation of each
// platform interface that the window's handlers talk to.

#include "capture/win32/desktop_win32.h"
#include "services/win32/services_win32.h"
#include "window/win32/Form1_win32.h"
#include "window/win32/dialogs_win32.h"
#include "window/win32/shell_win32.h"

namespace skl {

struct Win32Desktop {
    // The clipboard, the dialogs and the shell's folders belong to the main window.
    // The display opens in the form of the running system's family.
    Win32Desktop(Form1Window& window, PlatformFamily runningFamily)
        : family(runningFamily),
          view(window),
          grabber(runningFamily),
          clipboard(window.window()),
          dialogs(window.window()),
          specialFolders(window.window()) {
        aside.setWindow(window.window());
    }

    // Every port of the window's handlers.
    Form1Ports ports() {
        return Form1Ports{L'\\', family, view,
                          CapturePorts{view, aside, windows, screen, grabber, clipboard, files, clock, dialogs},
                          specialFolders, topmost, folderDialog, shell};
    }

    PlatformFamily family;
    Form1Window& view;
    Win32StepAsideWindow aside;

    Win32WindowLookup windows;
    Win32ScreenMetrics screen;
    Win32ScreenGrabber grabber;
    Win32Clipboard clipboard;
    Win32FileStore files;
    Win32Clock clock;
    Win32Dialogs dialogs;
    Win32SpecialFolders specialFolders;
    Win32TopmostBand topmost;
    Win32FolderDialog folderDialog;
    Win32Shell shell;
};

}  // namespace skl
