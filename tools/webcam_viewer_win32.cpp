// A stand-in for a messenger's webcam viewer, for trying the program out and
// for the end-to-end tests: a framed top-level window titled "Webcam for " + ID
// that paints the test picture of tools/test_picture.h, in which every pixel is
// a fixed function of its client position and the frame number, so that a
// grabbed rectangle can be told apart from any other.
//
// Its command line is tools/ViewerOptions.h's; --undecorated makes a window
// without a caption or border; --dpi-unaware makes a window that does not know
// the screen's resolution (the viewer otherwise carries the program's manifest,
// which declares it aware). Any key press also advances the frame; Escape closes
// the viewer.

#include <windows.h>

#include <cstdint>
#include <string>

#include "capture/win32/system_win32.h"
#include "tools/ViewerOptions.h"
#include "tools/test_picture.h"

namespace {

constexpr int outerWidth = 360;
constexpr int outerHeight = 320;
constexpr UINT_PTR frameTimer = 1;
constexpr const wchar_t* windowClass = L"SkellimorTestWebcamViewer";

using Options = skl::viewer::Options<wchar_t>;

class Viewer {
public:
    explicit Viewer(Options options) : options_(std::move(options)) {}

    LRESULT handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
        case WM_CREATE:
            if (options_.changingMs != 0) SetTimer(window, frameTimer, static_cast<UINT>(options_.changingMs), nullptr);
            return 0;
        case WM_TIMER:
            advance(window);
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) {
                DestroyWindow(window);
            } else {
                advance(window);
            }
            return 0;
        case WM_PAINT:
            paint(window);
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the picture covers the whole client area
        case WM_DESTROY:
            KillTimer(window, frameTimer);
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
        }
    }

    const Options& options() const { return options_; }

private:
    void advance(HWND window) {
        ++options_.frame;
        InvalidateRect(window, nullptr, FALSE);
    }

    void paint(HWND window) {
        PAINTSTRUCT ps;
        HDC target = BeginPaint(window, &ps);
        RECT client;
        GetClientRect(window, &client);
        const int width = client.right;
        const int height = client.bottom;
        if (width > 0 && height > 0) drawPicture(target, width, height);
        EndPaint(window, &ps);
    }

    void drawPicture(HDC target, int width, int height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top-down rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        skl::GdiBitmap picture(CreateDIBSection(target, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        skl::DeviceContext memory(CreateCompatibleDC(target));
        if (!picture || !memory) return;

        auto* pixels = static_cast<std::uint32_t*>(bits);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const skl::test_picture::Rgb c = skl::test_picture::pixel(x, y, options_.frame);
                pixels[static_cast<std::size_t>(y) * width + x] =
                    (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b;
            }
        }

        skl::Selection selected(memory.get(), picture.get());
        RECT band{0, height - skl::test_picture::textBandHeight, width, height};
        skl::GdiBrush bandBrush(CreateSolidBrush(RGB(0, 0, 96)));
        FillRect(memory.get(), &band, bandBrush.get());
        const std::wstring caption = options_.id + L"  frame " + std::to_wstring(options_.frame);
        SetBkMode(memory.get(), TRANSPARENT);
        SetTextColor(memory.get(), RGB(255, 255, 255));
        DrawTextW(memory.get(), caption.c_str(), -1, &band, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        BitBlt(target, 0, 0, width, height, memory.get(), 0, 0, SRCCOPY);
    }

    Options options_;
};

// A window takes the awareness of the thread that creates it (Windows 10 from
// 1607 on); false where the system cannot make the thread unaware.
bool makeThreadDpiUnaware() {
    using SetThreadContext = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);
    const auto setThreadContext =
        skl::loadedSystemFunction<SetThreadContext>(L"user32.dll", "SetThreadDpiAwarenessContext");
    return setThreadContext && setThreadContext(DPI_AWARENESS_CONTEXT_UNAWARE) != nullptr;
}

LRESULT CALLBACK viewerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* viewer = reinterpret_cast<Viewer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (viewer == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    return viewer->handle(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    auto options = skl::viewer::parseOptions(__argc, __wargv);
    if (!options) {
        MessageBoxA(nullptr, skl::viewer::usage, "Webcam viewer", MB_ICONERROR);
        return 2;
    }

    if (options->dpiUnaware && !makeThreadDpiUnaware()) {
        MessageBoxA(nullptr, "This system cannot make a window unaware of the screen's resolution.", "Webcam viewer",
                    MB_ICONERROR);
        return 1;
    }

    WNDCLASSW windowClassInfo{};
    windowClassInfo.lpfnWndProc = viewerProc;
    windowClassInfo.hInstance = instance;
    windowClassInfo.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClassInfo.lpszClassName = windowClass;
    if (!RegisterClassW(&windowClassInfo)) return 1;

    Viewer viewer(*options);
    const std::wstring title = L"Webcam for " + viewer.options().id;
    const int x = viewer.options().at ? static_cast<int>(viewer.options().at->x) : CW_USEDEFAULT;
    const int y = viewer.options().at ? static_cast<int>(viewer.options().at->y) : CW_USEDEFAULT;
    const DWORD style =
        viewer.options().undecorated ? WS_POPUP : WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    HWND window = CreateWindowExW(0, windowClass, title.c_str(), style, x, y, outerWidth, outerHeight, nullptr,
                                  nullptr, instance, &viewer);
    if (window == nullptr) return 1;
    ShowWindow(window, showCommand);
    UpdateWindow(window);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
