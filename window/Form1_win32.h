#pragma once
// The main window on Win32: its controls, painting and input, routed to Form1.

#include <windows.h>

#include <array>
#include <optional>

#include "capture/handles_win32.h"
#include "window/Form1.h"
#include "window/PointerRouter.h"
#include "window/WindowFace.h"

namespace skl {

class Form1Window final : public Form1View, private MouseCapture {
public:
    explicit Form1Window(HINSTANCE instance);
    ~Form1Window() override;
    Form1Window(const Form1Window&) = delete;
    Form1Window& operator=(const Form1Window&) = delete;

    HWND window() const { return hwnd_; }
    // Routes the window's events to the handlers from now on.
    void attach(Form1& form);
    // Shows the window, centred on the screen and normal, with the focus on the smiley.
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
    void yieldToEvents() override;
    void showPreview(const Picture& picture) override;

    // The option buttons report their clicks under these ids, away from IDOK and
    // IDCANCEL, the commands that Enter and Escape give a window with controls.
    enum class OptionId : int { Option1_0 = 101, Option1_1, optSize0, optSize1 };

private:
    // MouseCapture
    void captureMouse() override { SetCapture(hwnd_); }
    void releaseMouse() override;

    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    HWND createChild(const wchar_t* className, const wchar_t* text, DWORD style, const PixelRect& rect, HWND parent,
                     int id, HFONT font);
    void paint();
    void optionClicked(OptionId id);
    bool dispatch(MSG& message);

    HINSTANCE instance_;
    HWND hwnd_ = nullptr;
    Form1* form_ = nullptr;
    double twipsPerPixel_;
    WindowFace face_;
    std::optional<PointerRouter> router_;
    GdiBrush background_;
    GdiFont windowFont_;
    GdiFont boldFont_;
    GdiFont fixedFont_;

    // Every picture control's bitmap, and the windows of the picture boxes.
    std::array<GdiBitmap, pictureControlCount> pictures_;
    std::array<HWND, pictureControlCount> pictureBoxes_{};
    HWND captureId_ = nullptr;
    // The control that had the keyboard focus when the window was last active.
    HWND focusedControl_ = nullptr;
    HWND lblFolder_ = nullptr;
    std::array<HWND, 2> option1_{};
    std::array<HWND, 2> optSize_{};

    GdiBitmap preview_;
    PixelSize previewSize_{};
};

}  // namespace skl
