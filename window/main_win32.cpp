// The program's entry: creates the main window, runs its load handler before the
// window first shows, and runs the event loop until the window is gone.

#include <windows.h>
#include <ole2.h>

#include "capture/desktop_win32.h"
#include "services/WinVersion_win32.h"
#include "services/alwaysontop_win32.h"
#include "services/folderBrowser_win32.h"
#include "window/Form1_win32.h"
#include "window/ShellFolders_win32.h"
#include "window/dialogs_win32.h"
#include "window/shell_win32.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    using namespace skl;
    OleInitialize(nullptr);  // the shell's folder dialog needs it on this thread

    Form1Window view(instance);
    Win32WindowLookup windows;
    Win32ScreenMetrics screen;
    Win32ScreenGrabber grabber;
    Win32Clipboard clipboard(view.window());
    Win32FileStore files;
    Win32Clock clock;
    Win32Dialogs dialogs(view.window());
    Win32SpecialFolders specialFolders;
    Win32OsVersionSource osVersion;
    Win32TopmostBand topmost;
    Win32FolderDialog folderDialog;
    Win32Shell shell;

    Form1 form(Form1Ports{view, CapturePorts{view, windows, screen, grabber, clipboard, files, clock, dialogs},
                          specialFolders, osVersion, topmost, folderDialog, shell});
    view.attach(form);
    form.Form_Load();
    view.show();
    const int exitCode = view.run();
    OleUninitialize();
    return exitCode;
}
