#include "window/Form1_win32.h"

#include <windowsx.h>

#include <vector>

#include "capture/desktop_win32.h"
#include "capture/metrics_win32.h"
#include "window/resource_ids.h"

namespace skl {
namespace {

constexpr wchar_t formClass[] = L"MorvathsSkellimorForm1";
constexpr wchar_t pictureBoxClass[] = L"MorvathsSkellimorPictureBox";
constexpr wchar_t frameClass[] = L"MorvathsSkellimorFrame";

// The bitmap resource of each picture control, in the order of PictureControl.
constexpr int pictureResources[pictureControlCount] = {
    IDB_DIRECTIONS1, IDB_DIRECTIONS0, IDB_PICTURE2, IDB_PICTURE1, IDB_BRELLOW, IDB_ONTOP1, IDB_ONTOP0,
    IDB_XIT,         IDB_PREV1,       IDB_PREV0,    IDB_PICK1,    IDB_PICK0,   IDB_NEWCAM1, IDB_NEWCAM0,
};

COLORREF colorRef(std::uint32_t rgb) {
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

std::optional<MouseButton> pressedButton(UINT message) {
    switch (message) {
        case WM_LBUTTONDOWN: return MouseButton::left;
        case WM_RBUTTONDOWN: return MouseButton::right;
        case WM_MBUTTONDOWN: return MouseButton::middle;
        default: return std::nullopt;
    }
}

std::optional<MouseButton> releasedButton(UINT message) {
    switch (message) {
        case WM_LBUTTONUP: return MouseButton::left;
        case WM_RBUTTONUP: return MouseButton::right;
        case WM_MBUTTONUP: return MouseButton::middle;
        default: return std::nullopt;
    }
}

// Picture boxes: a child window showing its bitmap (kept in the window's user
// data), in the window colours for anything drawn on it. Its presses and releases
// go on to the main window, which routes every mouse button for the whole window.
LRESULT CALLBACK pictureBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (pressedButton(message) || releasedButton(message)) {
        if (pressedButton(message) && (GetWindowLongW(hwnd, GWL_STYLE) & WS_TABSTOP)) SetFocus(hwnd);
        POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        const HWND form = GetAncestor(hwnd, GA_ROOT);
        MapWindowPoints(hwnd, form, &at, 1);
        SendMessageW(form, message, wParam, MAKELPARAM(at.x, at.y));
        return 0;
    }
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            const HDC dc = BeginPaint(hwnd, &paint);
            const auto bitmap = reinterpret_cast<HBITMAP>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
            BITMAP info{};
            if (bitmap && GetObjectW(bitmap, sizeof info, &info)) {
                const DeviceContext source(CreateCompatibleDC(dc));
                const Selection selected(source.get(), bitmap);
                BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, source.get(), 0, 0, SRCCOPY);
            }
            EndPaint(hwnd, &paint);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;  // the picture covers the whole box
        case WM_CTLCOLORSTATIC:
            SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOWTEXT));
            SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOW));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

// Frame1: a borderless container whose option buttons talk to the main window.
LRESULT CALLBACK frameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return SendMessageW(GetParent(hwnd), message, wParam, lParam);
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

void registerClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, HBRUSH background, HICON icon) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name;
    RegisterClassExW(&windowClass);
}

void registerClasses(HINSTANCE instance, HBRUSH background) {
    // The main window's procedure is its own, set once the window exists.
    registerClass(instance, formClass, DefWindowProcW, background, LoadIconW(instance, MAKEINTRESOURCEW(IDI_FORM1)));
    registerClass(instance, pictureBoxClass, pictureBoxProc, nullptr, nullptr);
    registerClass(instance, frameClass, frameProc, background, nullptr);
}

GdiFont createFont(int dotsPerInch, int weight, DWORD pitchAndFamily, const wchar_t* face) {
    return GdiFont(CreateFontW(-MulDiv(layout::fontSizeCentipoints, dotsPerInch, 7200), 0, 0, 0, weight, FALSE,
                               FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                               pitchAndFamily, face));
}

GdiBitmap loadBitmap(HINSTANCE instance, int id) {
    return GdiBitmap(static_cast<HBITMAP>(
        LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

PixelSize bitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    return {info.bmWidth, info.bmHeight};
}

RECT toRect(const PixelRect& rect) {
    return {rect.left, rect.top, rect.right(), rect.bottom()};
}

Text windowText(HWND hwnd) {
    std::vector<wchar_t> buffer(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    GetWindowTextW(hwnd, buffer.data(), static_cast<int>(buffer.size()));
    return buffer.data();
}

}  // namespace

Form1Window::Form1Window(HINSTANCE instance)
    : instance_(instance),
      twipsPerPixel_(Win32ScreenMetrics().twipsPerPixelX()),
      face_(twipsPerPixel_),
      background_(CreateSolidBrush(colorRef(layout::backgroundColour))) {
    registerClasses(instance, background_.get());
    const int dotsPerInch = static_cast<int>(1440.0 / twipsPerPixel_ + 0.5);
    windowFont_ = createFont(dotsPerInch, FW_NORMAL, DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif");
    boldFont_ = createFont(dotsPerInch, FW_BOLD, DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif");
    fixedFont_ = createFont(dotsPerInch, FW_NORMAL, FIXED_PITCH | FF_MODERN, L"Courier New");

    // A fixed single border: a caption with the system menu and a minimise box,
    // and no sizing frame.
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    RECT outer{0, 0, pixels(layout::clientWidth, twipsPerPixel_), pixels(layout::clientHeight, twipsPerPixel_)};
    AdjustWindowRectEx(&outer, style, FALSE, 0);
    hwnd_ = CreateWindowExW(0, formClass, productTitle, style, CW_USEDEFAULT, CW_USEDEFAULT, outer.right - outer.left,
                            outer.bottom - outer.top, nullptr, nullptr, instance, nullptr);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Form1Window::windowProc));
    createControls();
}

Form1Window::~Form1Window() {
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

void Form1Window::attach(Form1& form) {
    form_ = &form;
    router_.emplace(form, face_, static_cast<MouseCapture&>(*this));
}

HWND Form1Window::createChild(const wchar_t* className, const wchar_t* text, DWORD style, const PixelRect& rect,
                              HWND parent, int id, HFONT font) {
    const HWND child = CreateWindowExW(0, className, text, WS_CHILD | style, rect.left, rect.top, rect.width,
                                       rect.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                       instance_, nullptr);
    if (font) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
}

void Form1Window::createControls() {
    for (const PictureControlDefinition& definition : pictureControls) {
        pictures_[static_cast<std::size_t>(definition.control)] =
            loadBitmap(instance_, pictureResources[static_cast<std::size_t>(definition.control)]);
    }
    const auto pictureBox = [&](PictureControl control, DWORD style) {
        const auto at = static_cast<std::size_t>(control);
        const DWORD shown = face_.isVisible(control) ? WS_VISIBLE : 0;
        pictureBoxes_[at] = createChild(pictureBoxClass, L"", style | shown, face_.rect(control), hwnd_, 0, nullptr);
        SetWindowLongPtrW(pictureBoxes_[at], GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pictures_[at].get()));
        return pictureBoxes_[at];
    };
    const auto place = [&](const layout::TwipsRect& rect) { return pixelRect(rect, twipsPerPixel_); };

    // Children are created in tab order, which is the order the keyboard visits them.
    pictureBox(PictureControl::Picture1, WS_TABSTOP);
    // The plate and its label take neither the mouse nor the focus.
    const HWND plate = pictureBox(PictureControl::Picture2, WS_DISABLED | WS_CLIPCHILDREN);
    captureId_ = createChild(L"STATIC", L"Capture Who?", WS_VISIBLE | SS_LEFT | SS_NOPREFIX, place(layout::captureID),
                             plate, 0, windowFont_.get());
    lblFolder_ = createChild(L"STATIC", L"Save To:", WS_VISIBLE | SS_LEFT | SS_NOPREFIX, place(layout::lblFolder),
                             hwnd_, 0, fixedFont_.get());
    option1_[0] = createChild(L"BUTTON", L"Set For: 95/98/98SE/ME", WS_VISIBLE | WS_TABSTOP | WS_GROUP |
                              BS_RADIOBUTTON | BS_FLAT, place(layout::Option1_0), hwnd_,
                              static_cast<int>(OptionId::Option1_0), windowFont_.get());
    option1_[1] = createChild(L"BUTTON", L"Set For: NT/2000/XP", WS_VISIBLE | WS_TABSTOP | BS_RADIOBUTTON | BS_FLAT,
                              place(layout::Option1_1), hwnd_, static_cast<int>(OptionId::Option1_1),
                              windowFont_.get());
    pictureBox(PictureControl::directions0, WS_TABSTOP | WS_GROUP);
    pictureBox(PictureControl::directions1, WS_TABSTOP);
    const HWND frame1 = createChild(frameClass, L"", WS_VISIBLE | WS_GROUP | WS_CLIPCHILDREN, place(layout::Frame1),
                                    hwnd_, 0, nullptr);
    SetWindowLongPtrW(frame1, GWL_EXSTYLE, WS_EX_CONTROLPARENT);
    optSize_[1] = createChild(L"BUTTON", L"Small Size", WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON,
                              place(layout::optSize_1), frame1, static_cast<int>(OptionId::optSize1),
                              boldFont_.get());
    optSize_[0] = createChild(L"BUTTON", L"Regular Size", WS_VISIBLE | WS_TABSTOP | BS_AUTORADIOBUTTON,
                              place(layout::optSize_0), frame1, static_cast<int>(OptionId::optSize0),
                              boldFont_.get());
    SendMessageW(optSize_[0], BM_SETCHECK, BST_CHECKED, 0);

    preview_ = loadBitmap(instance_, IDB_IMAGE1);
    previewSize_ = bitmapSize(preview_.get());
}

void Form1Window::show() {
    RECT outer;
    GetWindowRect(hwnd_, &outer);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    SetWindowPos(hwnd_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    UpdateWindow(hwnd_);
    focusPicture1();
}

bool Form1Window::dispatch(MSG& message) {
    if (message.message == WM_QUIT) return false;
    if (!IsDialogMessageW(hwnd_, &message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return true;
}

int Form1Window::run() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) dispatch(message);
    return static_cast<int>(message.wParam);
}

void Form1Window::yieldToEvents() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (!dispatch(message)) {
            PostQuitMessage(static_cast<int>(message.wParam));  // leave it for the main loop
            return;
        }
    }
}

void Form1Window::releaseMouse() {
    if (GetCapture() == hwnd_) ReleaseCapture();
}

LRESULT CALLBACK Form1Window::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Form1Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return self ? self->handle(message, wParam, lParam) : DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT Form1Window::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    const PixelPoint at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (const auto button = pressedButton(message)) {
        if (router_) router_->press(*button, at);
        return 0;
    }
    if (const auto button = releasedButton(message)) {
        if (router_) router_->release(*button, at);
        return 0;
    }
    switch (message) {
        case WM_CAPTURECHANGED:
            // Another window or a dialog took the mouse.
            if (router_ && reinterpret_cast<HWND>(lParam) != hwnd_) router_->captureLost();
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                // The control with the keyboard focus gets it back when the window is
                // active again (after a dialog, a message box or a snapshot).
                const HWND focused = GetFocus();
                if (focused && IsChild(hwnd_, focused)) focusedControl_ = focused;
                // Another window activated while a button is held takes the press away
                // too: the release that follows belongs to what the user turned to.
                if (router_) {
                    releaseMouse();
                    router_->captureLost();
                }
                return 0;
            }
            if (HIWORD(wParam) == 0) {  // not while minimised
                if (focusedControl_ && IsWindow(focusedControl_) && IsWindowVisible(focusedControl_)) {
                    SetFocus(focusedControl_);
                } else {
                    focusPicture1();
                }
            }
            return 0;
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) optionClicked(static_cast<OptionId>(LOWORD(wParam)));
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            // The folder label and the option buttons: white text on the window's ground.
            const auto dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, colorRef(layout::optionTextColour));
            SetBkColor(dc, colorRef(layout::backgroundColour));
            if (reinterpret_cast<HWND>(lParam) == lblFolder_) SetBkMode(dc, TRANSPARENT);
            return reinterpret_cast<LRESULT>(background_.get());
        }
        case WM_PAINT:
            paint();
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

void Form1Window::paint() {
    PAINTSTRUCT paintInfo;
    const HDC dc = BeginPaint(hwnd_, &paintInfo);
    const DeviceContext source(CreateCompatibleDC(dc));
    for (const PictureControlDefinition& definition : pictureControls) {
        if (definition.kind != ControlKind::Image || !face_.isVisible(definition.control)) continue;
        const PixelRect rect = face_.rect(definition.control);
        const Selection selected(source.get(), pictures_[static_cast<std::size_t>(definition.control)].get());
        BitBlt(dc, rect.left, rect.top, rect.width, rect.height, source.get(), 0, 0, SRCCOPY);
    }
    // The preview takes its picture's size plus a one-pixel flat border.
    const RECT border = toRect(previewBox(previewSize_, twipsPerPixel_));
    FrameRect(dc, &border, GetSysColorBrush(COLOR_WINDOWFRAME));
    const Selection selected(source.get(), preview_.get());
    BitBlt(dc, border.left + 1, border.top + 1, previewSize_.width, previewSize_.height, source.get(), 0, 0, SRCCOPY);
    EndPaint(hwnd_, &paintInfo);
}

void Form1Window::optionClicked(OptionId id) {
    if (!form_) return;
    switch (id) {
        case OptionId::Option1_0:
        case OptionId::Option1_1: form_->Option1_Click(); break;
        case OptionId::optSize0:
        case OptionId::optSize1: form_->optSize_Click(); break;
    }
}

void Form1Window::setVisible(Pair pair, std::int16_t index, bool visible) {
    if (!face_.setVisible(pair, index, visible)) return;
    const PictureControl control = pictureOf(pair, index);
    if (const HWND box = pictureBoxes_[static_cast<std::size_t>(control)]) {
        ShowWindow(box, visible ? SW_SHOWNA : SW_HIDE);
        return;
    }
    const RECT rect = toRect(face_.rect(control));
    InvalidateRect(hwnd_, &rect, FALSE);
    UpdateWindow(hwnd_);  // the pressed look shows at once, before any dialog opens
}

void Form1Window::setFolderCaption(const Text& caption) {
    SetWindowTextW(lblFolder_, caption.c_str());
    // The label's ground is the window's: have the old text painted over.
    const RECT rect = toRect(pixelRect(layout::lblFolder, twipsPerPixel_));
    InvalidateRect(hwnd_, &rect, TRUE);
}

Text Form1Window::idCaption() { return windowText(captureId_); }

void Form1Window::setIdCaption(const Text& caption) { SetWindowTextW(captureId_, caption.c_str()); }

void Form1Window::selectOption1(std::int16_t index) {
    SendMessageW(option1_[index != 0], BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(option1_[index == 0], BM_SETCHECK, BST_UNCHECKED, 0);
}

bool Form1Window::regularSizeSelected() {
    return SendMessageW(optSize_[0], BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Form1Window::setOuterHeightTwips(std::int32_t height) {
    RECT outer;
    GetWindowRect(hwnd_, &outer);
    SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left, pixels(height, twipsPerPixel_),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form1Window::focusPicture1() { SetFocus(pictureBoxes_[static_cast<std::size_t>(PictureControl::Picture1)]); }

void Form1Window::unload() { DestroyWindow(hwnd_); }

void Form1Window::showPreview(const Picture& picture) {
    GdiBitmap shown = bitmapFromPicture(picture);
    if (!shown) return;
    // Repaint the larger of the old and new boxes, so the ground shows where a larger
    // preview was.
    const PixelSize larger{std::max(previewSize_.width, picture.width), std::max(previewSize_.height, picture.height)};
    const RECT area = toRect(previewBox(larger, twipsPerPixel_));
    preview_ = std::move(shown);
    previewSize_ = {picture.width, picture.height};
    InvalidateRect(hwnd_, &area, TRUE);
}

}  // namespace skl
