#pragma once
// The main window on Win32: its controls, painting and input, routed to Form1.

#include <windows.h>

#include <array>
#include <optional>

#include "capture/handles_win32.h"
#include "window/Form1.h"
#include "window/Layout.h"

namespace skl {

class Form1Window final : public Form1View {
public:
    explicit Form1Window(HINSTANCE instance);
    ~Form1Window() override;
    Form1Window(const Form1Window&) = delete;
    Form1Window& operator=(const Form1Window&) = delete;

    HWND window() const { return hwnd_; }
    // Routes the window's events to the handlers from now on.
    void attach(Form1& form) { form_ = &form; }
    // Shows the window, centred and normal, with the focus on the smiley.
    void show();
    // Runs the event loop until the window is gone; the program's exit code.
    int run();

    // Form1View
    WindowHandle hWnd() override { return toWindowHandle(hwnd_); }
    void setVisible(Pair pair, std::int16_t index, bool visible) override;
    void setFolderCaption(const Text& caption) override;
    void selectOption1(std::int16_t index) override;
    void setOuterHeightTwips(std::int32_t height) override;
    void focusPicture1() override;
    void unload() override;

    // CaptureWindow
    Text idCaption() override;
    void setIdCaption(const Text& caption) override;
    bool regularSizeSelected() override;
    void minimise(const ScreenRect& keepClear) override;
    void yieldToEvents() override;
    void waitUntilClear() override;
    void restore() override;
    void showPreview(const Picture& picture) override;

    // The controls that take mouse input.
    enum class Control {
        none, Picture1, directions0, directions1, newcam0, newcam1, pick0, pick1, prev0, prev1,
        ontop0, ontop1, xit, brellow, Option1_0, Option1_1, optSize0, optSize1
    };

private:
    // A windowless picture drawn by the window itself.
    struct Image {
        Control control = Control::none;
        RECT rect{};
        GdiBitmap bitmap;
        bool visible = true;
    };

    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    HWND createChild(const wchar_t* className, const wchar_t* text, DWORD style, const RECT& rect, HWND parent,
                     Control control, HFONT font);
    int px(std::int32_t twips) const;
    RECT pixelRect(const layout::TwipsRect& rect) const;
    void paint();
    void paintPreview(HDC dc, HDC source);
    Image* imageAt(POINT point);
    Image& image(Control control);
    void mouseDown(Control control);
    void mouseUp(Control control, bool leftButton, bool inside);
    void command(Control control);
    bool dispatch(MSG& message);
    void bringBack();
    bool showsOnScreen() const;
    void watchRestore();

    HINSTANCE instance_;
    HWND hwnd_ = nullptr;
    Form1* form_ = nullptr;
    double twipsPerPixel_ = 15.0;
    GdiBrush background_;
    GdiFont windowFont_;
    GdiFont boldFont_;
    GdiFont fixedFont_;

    HWND picture1_ = nullptr;
    HWND picture2_ = nullptr;
    HWND captureId_ = nullptr;
    HWND lblFolder_ = nullptr;
    std::array<HWND, 2> option1_{};
    std::array<HWND, 2> directions_{};
    HWND frame1_ = nullptr;
    std::array<HWND, 2> optSize_{};
    std::array<GdiBitmap, 4> pictureBoxBitmaps_;  // Picture1, Picture2, directions 0 and 1

    std::array<Image, 10> images_;
    Control pressed_ = Control::none;

    GdiBitmap preview_;
    SIZE previewSize_{};

    // While the window is out of the way of a grab.
    std::optional<RECT> mustClear_;
    Picture ownPixels_;
    ULONGLONG minimisedAt_ = 0;
    int restoreKicksLeft_ = 0;
    ULONGLONG restoredAt_ = 0;
    ULONGLONG restoreWatchUntil_ = 0;
};

}  // namespace skl
