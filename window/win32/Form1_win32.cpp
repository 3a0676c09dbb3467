#include "window/win32/Form1_win32.h"

#include <windowsx.h>

#include <string>
#include <string_view>
#include <vector>

#include "capture/win32/desktop_win32.h"
#include "window/win32/fatal_win32.h"
#include "window/win32/resource_ids_win32.h"

namespace skl {
namespace {

constexpr wchar_t formClass[] = L"MorvathsSkellimorForm1";
constexpr wchar_t pictureBoxClass[] = L"MorvathsSkellimorPictureBox";
constexpr wchar_t frameClass[] = L"MorvathsSkellimorFrame";

// Child windows take the id of their control from here on, away from IDOK and
// IDCANCEL, the commands that Enter and Escape give a window with controls.
constexpr int firstControlId = 100;

constexpr wchar_t const* windowClassOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::Frame: return frameClass;
        case ControlKind::OptionButton: return L"BUTTON";
        case ControlKind::PictureBox: return pictureBoxClass;
        case ControlKind::Label: return L"STATIC";
        case ControlKind::Image: break;  // drawn by the window
    }
    return nullptr;
}

// startsGroup: the control begins a group of the keyboard's arrow keys.
DWORD windowStyleOf(const ControlDefinition& definition, bool startsGroup) {
    DWORD style = WS_CHILD;
    if (definition.visibleAtStart) style |= WS_VISIBLE;
    if (!definition.enabled) style |= WS_DISABLED;
    if (definition.takesInput()) style |= WS_TABSTOP;
    if (startsGroup) style |= WS_GROUP;
    switch (definition.kind) {
        case ControlKind::Frame:
        case ControlKind::PictureBox: return style | WS_CLIPCHILDREN;
        // A flat option never selects itself: its Click handler decides.
        case ControlKind::OptionButton:
            return style | (definition.flat ? BS_RADIOBUTTON | BS_FLAT : BS_AUTORADIOBUTTON);
        case ControlKind::Label: return style | SS_LEFT | SS_NOPREFIX;
        case ControlKind::Image: break;
    }
    return style;
}

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
LRESULT CALLBACK pictureBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
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
LRESULT CALLBACK frameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
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

GdiFont createFont(int dotsPerInch, Font font) {
    const bool fixed = font == Font::fixed;
    return GdiFont(CreateFontW(-MulDiv(layout::fontSizeCentipoints, dotsPerInch, 7200), 0, 0, 0,
                               font == Font::bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                               fixed ? FIXED_PITCH | FF_MODERN : DEFAULT_PITCH | FF_SWISS,
                               fixed ? L"Courier New" : L"MS Sans Serif"));
}

// A picture's bitmap resource is named after its file (the loader matches names
// regardless of case).
GdiBitmap loadBitmap(HINSTANCE instance, std::string_view picture) {
    const std::wstring name(picture.begin(), picture.end());
    return GdiBitmap(
        static_cast<HBITMAP>(LoadImageW(instance, name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
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
    registerClass(instance, formClass, &Form1Window::windowProc, background_.get(),
                  LoadIconW(instance, MAKEINTRESOURCEW(IDI_FORM1)));
    registerClass(instance, pictureBoxClass, pictureBoxProc, nullptr, nullptr);
    registerClass(instance, frameClass, frameProc, background_.get(), nullptr);
    const int dotsPerInch = static_cast<int>(1440.0 / twipsPerPixel_ + 0.5);
    for (const Font font : {Font::window, Font::bold, Font::fixed}) {
        fonts_[static_cast<std::size_t>(font)] = createFont(dotsPerInch, font);
    }

    // A fixed single border: a caption with the system menu and a minimise box,
    // and no sizing frame.
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    RECT outer{0, 0, pixels(layout::clientWidth, twipsPerPixel_), pixels(layout::clientHeight, twipsPerPixel_)};
    AdjustWindowRectEx(&outer, style, FALSE, 0);
    // The window procedure finds this object from the window's first message on
    // (WM_NCCREATE); a window that could not be made leaves no handle behind.
    hwnd_ = CreateWindowExW(0, formClass, productTitle, style, CW_USEDEFAULT, CW_USEDEFAULT, outer.right - outer.left,
                            outer.bottom - outer.top, nullptr, nullptr, instance, this);
    createControls();
}

Form1Window::~Form1Window() {
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

void Form1Window::attach(Form1& form) {
    router_.emplace(form, face_, static_cast<MouseCapture&>(*this));
}

void Form1Window::createControls() {
    for (const ControlDefinition& definition : form1Controls) {
        const auto at = static_cast<std::size_t>(definition.control);
        if (definition.picture) pictures_[at] = loadBitmap(instance_, definition.picture);
    }
    // In tab order, which is the order the keyboard visits them. A group of the arrow
    // keys begins where the option group changes and at a container.
    OptionGroup previousGroup = OptionGroup::none;
    for (const Control control : tabOrder) {
        const ControlDefinition& definition = definitionOf(control);
        const auto at = static_cast<std::size_t>(control);
        const bool startsGroup = definition.group != previousGroup || definition.kind == ControlKind::Frame;
        previousGroup = definition.group;
        const HWND parent = definition.in ? windowOf(*definition.in) : hwnd_;
        const PixelRect rect = pixelRect(control, twipsPerPixel_);
        const auto id = static_cast<INT_PTR>(firstControlId + static_cast<int>(at));
        const HWND child = CreateWindowExW(
            definition.kind == ControlKind::Frame ? WS_EX_CONTROLPARENT : 0, windowClassOf(definition.kind),
            definition.caption ? definition.caption : L"", windowStyleOf(definition, startsGroup), rect.left, rect.top,
            rect.width, rect.height, parent, reinterpret_cast<HMENU>(id), instance_, nullptr);
        controls_[at] = child;
        if (definition.caption) {
            const HFONT font = fonts_[static_cast<std::size_t>(definition.font)].get();
            SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        }
        // A picture box paints the bitmap in its user data.
        if (definition.picture) {
            SetWindowLongPtrW(child, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pictures_[at].get()));
        }
        if (definition.selectedAtStart) SendMessageW(child, BM_SETCHECK, BST_CHECKED, 0);
    }
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

LRESULT CALLBACK Form1Window::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        auto* created = static_cast<Form1Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        created->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto* self = reinterpret_cast<Form1Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    // A handler's fault ends the program, after saying so.
    return guarded(hwnd, LRESULT{0}, [&] { return self->handle(message, wParam, lParam); });
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
        case WM_COMMAND: {
            const int index = LOWORD(wParam) - firstControlId;
            if (router_ && HIWORD(wParam) == BN_CLICKED && index >= 0 && index < static_cast<int>(controlCount)) {
                router_->optionClicked(static_cast<Control>(index));
            }
            return 0;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            // The folder label and the option buttons: white text on the window's ground,
            // the label's ground left undrawn.
            const auto dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, colorRef(layout::optionTextColour));
            SetBkColor(dc, colorRef(layout::backgroundColour));
            if (reinterpret_cast<HWND>(lParam) == windowOf(Control::lblFolder)) SetBkMode(dc, TRANSPARENT);
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
    for (const Control image : face_.paintedImages()) {
        const PixelRect rect = face_.rect(image);
        const Selection selected(source.get(), pictures_[static_cast<std::size_t>(image)].get());
        BitBlt(dc, rect.left, rect.top, rect.width, rect.height, source.get(), 0, 0, SRCCOPY);
    }
    // The preview takes its picture's size plus a one-pixel flat border.
    const PixelSize size = face_.previewSize();
    const RECT border = toRect(face_.previewBox());
    FrameRect(dc, &border, GetSysColorBrush(COLOR_WINDOWFRAME));
    if (snapshot_) {
        const BITMAPINFO info = topDown32(size.width, size.height);
        StretchDIBits(dc, border.left + 1, border.top + 1, size.width, size.height, 0, 0, size.width, size.height,
                      snapshot_->picture().pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
    } else {
        const Selection selected(source.get(), pictures_[static_cast<std::size_t>(Control::Image1)].get());
        BitBlt(dc, border.left + 1, border.top + 1, size.width, size.height, source.get(), 0, 0, SRCCOPY);
    }
    EndPaint(hwnd_, &paintInfo);
}

void Form1Window::setVisible(Pair pair, std::int16_t index, bool visible) {
    const std::optional<Control> changed = face_.setVisible(pair, index, visible);
    if (!changed) return;
    if (const HWND box = windowOf(*changed)) {
        ShowWindow(box, visible ? SW_SHOWNA : SW_HIDE);
        return;
    }
    const RECT rect = toRect(face_.rect(*changed));
    InvalidateRect(hwnd_, &rect, FALSE);
    UpdateWindow(hwnd_);  // the pressed look shows at once, before any dialog opens
}

void Form1Window::setFolderCaption(const Text& caption) {
    SetWindowTextW(windowOf(Control::lblFolder), caption.c_str());
    // The label's ground is the window's: have the old text painted over.
    const RECT rect = toRect(pixelRect(Control::lblFolder, twipsPerPixel_));
    InvalidateRect(hwnd_, &rect, TRUE);
}

Text Form1Window::idCaption() { return windowText(windowOf(Control::captureID)); }

void Form1Window::setIdCaption(const Text& caption) { SetWindowTextW(windowOf(Control::captureID), caption.c_str()); }

void Form1Window::selectOption1(std::int16_t index) {
    const HWND selected = windowOf(index != 0 ? Control::Option1_1 : Control::Option1_0);
    const HWND cleared = windowOf(index != 0 ? Control::Option1_0 : Control::Option1_1);
    SendMessageW(selected, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(cleared, BM_SETCHECK, BST_UNCHECKED, 0);
}

bool Form1Window::regularSizeSelected() {
    return SendMessageW(windowOf(Control::optSize0), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Form1Window::setOuterHeightTwips(std::int32_t height) {
    RECT outer;
    GetWindowRect(hwnd_, &outer);
    SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left, pixels(height, twipsPerPixel_),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form1Window::focusPicture1() { SetFocus(windowOf(Control::Picture1)); }

void Form1Window::unload() { DestroyWindow(hwnd_); }

void Form1Window::showPreview(std::unique_ptr<const GrabbedBitmap> snapshot) {
    snapshot_ = std::move(snapshot);
    const RECT area = toRect(face_.showPreviewOf({snapshot_->picture().width, snapshot_->picture().height}));
    InvalidateRect(hwnd_, &area, TRUE);
}

}  // namespace skl
