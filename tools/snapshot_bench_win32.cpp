// The snapshot benchmark of the Windows program: the real main window and the
// real Win32 desktop. tools/bench.sh runs it under Wine on a private display;
// tools/bench/SnapshotBench.h says what it does and how it is called.

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "capture/Snapshot.h"
#include "tools/bench/ProcessResources_win32.h"
#include "services/win32/services_win32.h"
#include "tools/bench/SnapshotBench.h"
#include "window/win32/Win32Desktop_win32.h"

namespace {

using namespace skl;
using namespace skl::bench;

ScreenRect screenRectOf(const RECT& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

ScreenRect clientOnScreen(HWND window) {
    RECT rect;
    GetClientRect(window, &rect);
    POINT origin{};
    ClientToScreen(window, &origin);
    return {origin.x, origin.y, origin.x + rect.right, origin.y + rect.bottom};
}

class Win32BenchDesktop final : public BenchDesktop {
public:
    Win32BenchDesktop(Form1Window& window, Win32Desktop& real, HWND viewer)
        : window_(window), real_(real), viewer_(viewer) {}

    std::string edition() override {
        return sizeof(void*) == 8 ? "the Windows program, 64-bit" : "the Windows program, 32-bit";
    }
    Form1Ports ports() override { return real_.ports(); }
    void attach(Form1& form) override { window_.attach(form); }
    void show() override { window_.show(); }

    ScreenRect windowFrame() override {
        RECT rect;
        GetWindowRect(window_.window(), &rect);
        return screenRectOf(rect);
    }
    ScreenRect windowClient() override { return clientOnScreen(window_.window()); }
    void moveWindow(ScreenPoint corner) override {
        SetWindowPos(window_.window(), nullptr, corner.x, corner.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    bool windowShown() override { return IsWindowVisible(window_.window()) && !IsIconic(window_.window()); }
    bool windowOffScreen() override { return !windowShown(); }
    bool chooseSize(bool regular) override {
        const HWND frame = FindWindowExW(window_.window(), nullptr, L"MorvathsSkellimorFrame", nullptr);
        const HWND option = FindWindowExW(frame, nullptr, L"BUTTON", regular ? L"Regular Size" : L"Small Size");
        if (!option) return false;
        SendMessageW(option, BM_CLICK, 0, 0);
        return true;
    }

    ScreenPoint viewerFrameCorner() override {
        RECT rect;
        GetWindowRect(viewer_, &rect);
        return {rect.left, rect.top};
    }
    ViewerClient viewerClient() override {
        const ScreenRect client = clientOnScreen(viewer_);
        return {{client.left, client.top}, {client.right - client.left, client.bottom - client.top}};
    }
    void advanceViewerFrame() override { PostMessageW(viewer_, WM_KEYDOWN, VK_SPACE, 0); }

    Resources measureResources() override { return measureWin32Resources(); }
    std::string resourceLegend() override { return win32ResourceLegend; }

private:
    Form1Window& window_;
    Win32Desktop& real_;
    HWND viewer_;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const auto options = parseOptions(std::vector<Text>(argv + 1, argv + argc));
    if (!options) {
        std::fputs(usage, stderr);
        return 2;
    }
    const Text viewerTitle = texts::viewerTitlePrefix + options->id;
    const HWND viewer = FindWindowW(nullptr, viewerTitle.c_str());
    if (!viewer) {
        std::fprintf(stderr, "no window titled \"%s\"\n", narrow(viewerTitle).c_str());
        return 2;
    }
    Form1Window window(GetModuleHandleW(nullptr));
    Win32Desktop real(window, platformFamilyOf(runningSystemVersion()));
    Win32BenchDesktop desktop(window, real, viewer);
    return runSnapshotBench(*options, desktop);
}
