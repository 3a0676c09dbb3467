#include "capture/win32/desktop_win32.h"

#include <string>

namespace skl {
namespace {

// DWMWA_TRANSITIONS_FORCEDISABLED, from the compositor's window attributes.
constexpr DWORD transitionsForceDisabled = 3;

// Through a function pointer without parameters, the one type every function
// pointer may be cast from and back to.
template <typename Function>
Function lookUp(HMODULE module, const char* name) {
    using AnyFunction = void (*)();
    return reinterpret_cast<Function>(reinterpret_cast<AnyFunction>(GetProcAddress(module, name)));
}

// The compositor's library from the system folder only, never one planted beside
// the program.
HMODULE loadCompositorLibrary() {
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    return LoadLibraryW((std::wstring(folder, length) + L"\\dwmapi.dll").c_str());
}

ScreenRect screenRectOf(const RECT& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

}  // namespace

DesktopComposition::DesktopComposition() : library_(loadCompositorLibrary()) {
    if (!library_) return;
    isEnabled_ = lookUp<IsEnabledFunction>(library_.get(), "DwmIsCompositionEnabled");
    flush_ = lookUp<FlushFunction>(library_.get(), "DwmFlush");
    setAttribute_ = lookUp<SetAttributeFunction>(library_.get(), "DwmSetWindowAttribute");
}

bool DesktopComposition::enabled() const {
    BOOL on = FALSE;
    return isEnabled_ && SUCCEEDED(isEnabled_(&on)) && on;
}

bool DesktopComposition::flush() const {
    return flush_ && enabled() && SUCCEEDED(flush_());
}

void DesktopComposition::disableTransitions(HWND window) const {
    const BOOL disabled = TRUE;
    if (setAttribute_) setAttribute_(window, transitionsForceDisabled, &disabled, sizeof disabled);
}

void Win32StepAsideWindow::setWindow(HWND window) {
    window_ = window;
    composition_.disableTransitions(window_);
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    minimisedLater_ = ntdll && lookUp<void (*)()>(ntdll, "wine_get_version");
}

StepAsideStart Win32StepAsideWindow::observe() {
    return {outerFrame(), composition_.enabled(), (GetWindowLongW(window_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0};
}

std::optional<ScreenRect> Win32StepAsideWindow::outerFrame() {
    RECT outer;
    if (!IsWindowVisible(window_) || IsIconic(window_) || !GetWindowRect(window_, &outer)) return std::nullopt;
    return screenRectOf(outer);
}

void Win32StepAsideWindow::leave(Leaving how, const StepAsideStart&) {
    ShowWindow(window_, SW_MINIMIZE);
    // Hidden after minimising: hidden first, it would come back as a new minimised
    // window, which the window manager places anew.
    if (how == Leaving::AtOnce) ShowWindow(window_, SW_HIDE);
}

bool Win32StepAsideWindow::hasLeft() {
    // The window system's word on the window; its pixels may still be on the
    // screen a moment longer, which the wait watches for.
    return !IsWindowVisible(window_) || IsIconic(window_);
}

void Win32StepAsideWindow::comeBack(const StepAsideStart& start) {
    const std::optional<ScreenRect>& frame = start.frame;
    // Where the window manager minimises later than asked, it may do so after
    // this restore and leave the window minimised: hidden first, the window comes
    // back as a new one, which nothing minimises. On Windows that would take the
    // window's button off the taskbar, so there it is only restored.
    if (minimisedLater_) ShowWindow(window_, SW_HIDE);
    ShowWindow(window_, SW_RESTORE);
    RECT outer;
    if (frame && GetWindowRect(window_, &outer) && screenRectOf(outer) != *frame) {
        SetWindowPos(window_, nullptr, frame->left, frame->top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

bool Win32StepAsideWindow::isBack(const StepAsideStart& start) {
    const auto now = outerFrame();
    return now && (!start.frame || *now == *start.frame);
}

}  // namespace skl
