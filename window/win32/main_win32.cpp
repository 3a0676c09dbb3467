// The program's entry: finds the running system's family, creates the main window,
// runs its load handler before the window first shows, and runs the event loop
// until the window is gone. A window that cannot be made ends the program with a
// message and status 1.

#include <windows.h>
#include <ole2.h>

#include "services/win32/services_win32.h"
#include "window/win32/Win32Desktop_win32.h"
#include "window/win32/fatal_win32.h"

namespace {

// OLE on this thread while the program runs: the shell's folder dialog needs it.
class OleSession {
public:
    OleSession() : initialised_(SUCCEEDED(OleInitialize(nullptr))) {}
    ~OleSession() {
        if (initialised_) OleUninitialize();
    }
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;

private:
    bool initialised_;
};

int runProgram(HINSTANCE instance) {
    using namespace skl;
    const OleSession ole;
    Form1Window view(instance);
    if (!view.window()) {
        tellWhyTheProgramEnds(nullptr, L"Windows did not create the program's window, so the program cannot run.");
        return 1;
    }
    Win32Desktop desktop(view, platformFamilyOf(runningSystemVersion()));
    Form1 form(desktop.ports());
    view.attach(form);
    form.Form_Load();
    view.show();
    return view.run();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // A fault before the event loop runs (or after it) ends the program as one in a
    // handler does.
    return skl::guarded(nullptr, 1, [instance] { return runProgram(instance); });
}
