// The program's entry: finds the running system's family, creates the main window, runs its load handler before the
// window first shows, and runs the event loop until the window is gone.

#include <windows.h>
#include <ole2.h>

#include "services/win32/WinVersion_win32.h"
#include "window/win32/Win32Desktop_win32.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    using namespace skl;
    OleInitialize(nullptr);  // the shell's folder dialog needs it on this thread

    Form1Window view(instance);
    Win32Desktop desktop(view, platformFamilyOf(runningSystemVersion()));
    Form1 form(desktop.ports());
    view.attach(form);
    form.Form_Load();
    view.show();
    const int exitCode = view.run();
    OleUninitialize();
    return exitCode;
}
