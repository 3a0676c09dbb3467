#pragma once
// The main window on Win32: its controls, painting and input, routed to Form1.

#include <windows.h>

#include <array>
#include <memory>
#include <optional>

#include "capture/win32/system_win32.h"
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
    void showPreview(std::unique_ptr<const GrabbedBitmap> snapshot) override;

private:
    // MouseCapture
    void captureMouse() override { SetCapture(hwnd_); }
    void releaseMouse() override;

    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    HWND windowOf(Control control) const { return controls_[static_cast<std::size_t>(control)]; }
    void paint();
    bool dispatch(MSG& message);

    HINSTANCE instance_;
    HWND hwnd_ = nullptr;
    double twipsPerPixel_;
    WindowFace face_;
    std::optional<PointerRouter> router_;
    GdiBrush background_;
    std::array<GdiFont, 3> fonts_;  // by Font

    // Every picture control's bitmap (the preview's start-up splash among them), and
    // the windows of the controls that are windows of their own.
    std::array<GdiBitmap, controlCount> pictures_;
    std::array<HWND, controlCount> controls_{};
    // The control that had the keyboard focus when the window was last active.
    HWND focusedControl_ = nullptr;
    // The last snapshot, which the preview shows from its first one on.
    std::unique_ptr<const GrabbedBitmap> snapshot_;
};

}  // namespace skl
