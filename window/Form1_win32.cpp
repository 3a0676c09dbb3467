#include "window/Form1_win32.h"

#include <windowsx.h>

#include <vector>

#include "capture/Checked.h"
#include "capture/desktop_win32.h"
#include "window/resource_ids.h"

namespace skl {
namespace {

constexpr wchar_t formClass[] = L"MorvathsSkellimorForm1";
constexpr wchar_t pictureBoxClass[] = L"MorvathsSkellimorPictureBox";
constexpr wchar_t frameClass[] = L"MorvathsSkellimorFrame";

// A picture box tells the main window about presses and releases with this message:
// wParam is the control id, lParam the original message with bit 16 set when the
// pointer was inside the box.
constexpr UINT pictureBoxMouse = WM_APP + 1;
constexpr UINT_PTR restoreWatchTimer = 1;
constexpr UINT restoreWatchInterval = 10;           // ms
constexpr ULONGLONG restoreWatchLength = 1000;      // ms
constexpr ULONGLONG clearWaitLimit = 500;           // ms
// How often a restore the window manager dropped is redone, and how long after
// the restore: longer than a restore animation (openbox's takes about 170 ms), for
// a window manager that animates a window shown anew.
constexpr int maxRestoreKicks = 3;
constexpr ULONGLONG restoreAnimationAllowance = 400;  // ms
// The area counts as clear once it has stopped changing with at most 1 in
// `settledShare` of its pixels still as the window drew them (what lies beneath
// matches a few by chance). Content that matches many more still counts as clear
// once it has had `redrawAllowance` to be drawn and has stayed unchanged for
// `unchangedLength`, with at most 1 in `chanceShare` so.
constexpr std::size_t settledShare = 20;
constexpr std::size_t chanceShare = 4;
constexpr ULONGLONG redrawAllowance = 30;           // ms
constexpr ULONGLONG unchangedLength = 25;           // ms
// Client points that show the window's ground at both heights: the gaps between
// the plate and the buttons of the top row.
constexpr POINT groundPoints[] = {{178, 15}, {243, 15}, {334, 15}};

COLORREF colorRef(std::uint32_t rgb) {
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

bool isButtonDown(UINT message) {
    return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
}

bool isButtonUp(UINT message) {
    return message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP;
}

// Picture boxes: a child window showing its bitmap (kept in the window's user data),
// in the window colours for anything drawn on it, passing mouse buttons up.
LRESULT CALLBACK pictureBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (isButtonDown(message)) {
        SetCapture(hwnd);
        if (GetWindowLongW(hwnd, GWL_STYLE) & WS_TABSTOP) SetFocus(hwnd);
        SendMessageW(GetAncestor(hwnd, GA_ROOT), pictureBoxMouse, GetDlgCtrlID(hwnd), message);
        return 0;
    }
    if (isButtonUp(message)) {
        if (GetCapture() == hwnd) ReleaseCapture();
        RECT client;
        GetClientRect(hwnd, &client);
        const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        const LPARAM inside = PtInRect(&client, at) ? 0x10000 : 0;
        SendMessageW(GetAncestor(hwnd, GA_ROOT), pictureBoxMouse, GetDlgCtrlID(hwnd), message | inside);
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

SIZE bitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    return {info.bmWidth, info.bmHeight};
}

Text windowText(HWND hwnd) {
    std::vector<wchar_t> buffer(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    GetWindowTextW(hwnd, buffer.data(), static_cast<int>(buffer.size()));
    return buffer.data();
}

}  // namespace

Form1Window::Form1Window(HINSTANCE instance)
    : instance_(instance), background_(CreateSolidBrush(colorRef(layout::backgroundColour))) {
    registerClasses(instance, background_.get());
    twipsPerPixel_ = Win32ScreenMetrics().twipsPerPixelX();
    const int dotsPerInch = static_cast<int>(1440.0 / twipsPerPixel_ + 0.5);
    windowFont_ = createFont(dotsPerInch, FW_NORMAL, DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif");
    boldFont_ = createFont(dotsPerInch, FW_BOLD, DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif");
    fixedFont_ = createFont(dotsPerInch, FW_NORMAL, FIXED_PITCH | FF_MODERN, L"Courier New");

    // A fixed single border: a caption with the system menu and a minimise box,
    // and no sizing frame.
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    RECT outer{0, 0, px(layout::clientWidth), px(layout::clientHeight)};
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

int Form1Window::px(std::int32_t twips) const {
    return twipsToPixels(twips, twipsPerPixel_).value_or(0);
}

RECT Form1Window::pixelRect(const layout::TwipsRect& rect) const {
    const int left = px(rect.left);
    const int top = px(rect.top);
    return {left, top, left + px(rect.width), top + px(rect.height)};
}

HWND Form1Window::createChild(const wchar_t* className, const wchar_t* text, DWORD style, const RECT& rect,
                              HWND parent, Control control, HFONT font) {
    const HWND child = CreateWindowExW(0, className, text, WS_CHILD | style, rect.left, rect.top,
                                       rect.right - rect.left, rect.bottom - rect.top, parent,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(control)), instance_, nullptr);
    if (font) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
}

void Form1Window::createControls() {
    const auto pictureBox = [&](Control control, const layout::TwipsRect& place, GdiBitmap& bitmap, int resource,
                                DWORD style) {
        bitmap = loadBitmap(instance_, resource);
        const SIZE size = bitmapSize(bitmap.get());  // picture boxes take their picture's size
        const RECT rect = pixelRect(place);
        const HWND box = createChild(pictureBoxClass, L"", style, {rect.left, rect.top, rect.left + size.cx, rect.top + size.cy},
                                     hwnd_, control, nullptr);
        SetWindowLongPtrW(box, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(bitmap.get()));
        return box;
    };

    // Children are created in tab order, which is the order the keyboard visits them.
    picture1_ = pictureBox(Control::Picture1, layout::Picture1, pictureBoxBitmaps_[0], IDB_PICTURE1,
                           WS_VISIBLE | WS_TABSTOP);
    picture2_ = pictureBox(Control::none, layout::Picture2, pictureBoxBitmaps_[1], IDB_PICTURE2,
                           WS_VISIBLE | WS_DISABLED | WS_CLIPCHILDREN);
    captureId_ = createChild(L"STATIC", L"Capture Who?", WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                             pixelRect(layout::captureID), picture2_, Control::none, windowFont_.get());
    lblFolder_ = createChild(L"STATIC", L"Save To:", WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                             pixelRect(layout::lblFolder), hwnd_, Control::none, fixedFont_.get());
    option1_[0] = createChild(L"BUTTON", L"Set For: 95/98/98SE/ME", WS_VISIBLE | WS_TABSTOP | WS_GROUP |
                              BS_RADIOBUTTON | BS_FLAT, pixelRect(layout::Option1_0), hwnd_, Control::Option1_0,
                              windowFont_.get());
    option1_[1] = createChild(L"BUTTON", L"Set For: NT/2000/XP", WS_VISIBLE | WS_TABSTOP | BS_RADIOBUTTON | BS_FLAT,
                              pixelRect(layout::Option1_1), hwnd_, Control::Option1_1, windowFont_.get());
    directions_[0] = pictureBox(Control::directions0, layout::directions, pictureBoxBitmaps_[2], IDB_DIRECTIONS0,
                                WS_VISIBLE | WS_TABSTOP | WS_GROUP);
    directions_[1] = pictureBox(Control::directions1, layout::directions, pictureBoxBitmaps_[3], IDB_DIRECTIONS1,
                                WS_TABSTOP);
    frame1_ = createChild(frameClass, L"", WS_VISIBLE | WS_GROUP | WS_CLIPCHILDREN, pixelRect(layout::Frame1), hwnd_,
                          Control::none, nullptr);
    SetWindowLongPtrW(frame1_, GWL_EXSTYLE, WS_EX_CONTROLPARENT);
    optSize_[1] = createChild(L"BUTTON", L"Small Size", WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON,
                              pixelRect(layout::optSize_1), frame1_, Control::optSize1, boldFont_.get());
    optSize_[0] = createChild(L"BUTTON", L"Regular Size", WS_VISIBLE | WS_TABSTOP | BS_AUTORADIOBUTTON,
                              pixelRect(layout::optSize_0), frame1_, Control::optSize0, boldFont_.get());
    SendMessageW(optSize_[0], BM_SETCHECK, BST_CHECKED, 0);

    struct ImageAtStart {
        Control control;
        const layout::TwipsRect& place;
        int resource;
        bool visible;
    };
    const ImageAtStart atStart[] = {
        {Control::brellow, layout::brellow, IDB_BRELLOW, true},  {Control::ontop1, layout::ontop, IDB_ONTOP1, false},
        {Control::ontop0, layout::ontop, IDB_ONTOP0, true},      {Control::xit, layout::xit, IDB_XIT, true},
        {Control::prev1, layout::prev, IDB_PREV1, false},        {Control::prev0, layout::prev, IDB_PREV0, true},
        {Control::pick1, layout::pick, IDB_PICK1, false},        {Control::pick0, layout::pick, IDB_PICK0, true},
        {Control::newcam1, layout::newcam, IDB_NEWCAM1, false},  {Control::newcam0, layout::newcam, IDB_NEWCAM0, true},
    };
    static_assert(std::size(atStart) == std::tuple_size_v<decltype(images_)>);
    for (std::size_t i = 0; i < std::size(atStart); ++i) {
        images_[i] = {atStart[i].control, pixelRect(atStart[i].place), loadBitmap(instance_, atStart[i].resource),
                      atStart[i].visible};
    }

    preview_ = loadBitmap(instance_, IDB_IMAGE1);
    previewSize_ = bitmapSize(preview_.get());
}

void Form1Window::show() {
    RECT outer;
    GetWindowRect(hwnd_, &outer);
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    SetWindowPos(hwnd_, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    UpdateWindow(hwnd_);
    SetFocus(picture1_);
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

LRESULT CALLBACK Form1Window::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Form1Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return self ? self->handle(message, wParam, lParam) : DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT Form1Window::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (isButtonDown(message)) {
        const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (const Image* hit = imageAt(at)) {
            pressed_ = hit->control;
            SetCapture(hwnd_);
            mouseDown(hit->control);
        }
        return 0;
    }
    if (isButtonUp(message)) {
        if (pressed_ == Control::none) return 0;
        const Control control = std::exchange(pressed_, Control::none);
        if (GetCapture() == hwnd_) ReleaseCapture();
        const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        const RECT& rect = image(control).rect;
        mouseUp(control, message == WM_LBUTTONUP, PtInRect(&rect, at) != FALSE);
        return 0;
    }
    switch (message) {
        case pictureBoxMouse: {
            const auto control = static_cast<Control>(wParam);
            const auto original = static_cast<UINT>(lParam & 0xFFFF);
            if (isButtonDown(original)) {
                mouseDown(control);
            } else {
                mouseUp(control, original == WM_LBUTTONUP, (lParam & 0x10000) != 0);
            }
            return 0;
        }
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) command(static_cast<Control>(LOWORD(wParam)));
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
        case WM_TIMER:
            if (wParam == restoreWatchTimer) watchRestore();
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
    for (const Image& shown : images_) {
        if (!shown.visible) continue;
        const Selection selected(source.get(), shown.bitmap.get());
        BitBlt(dc, shown.rect.left, shown.rect.top, shown.rect.right - shown.rect.left,
               shown.rect.bottom - shown.rect.top, source.get(), 0, 0, SRCCOPY);
    }
    paintPreview(dc, source.get());
    EndPaint(hwnd_, &paintInfo);
}

void Form1Window::paintPreview(HDC dc, HDC source) {
    // The preview takes its picture's size plus a one-pixel flat border.
    const RECT place = pixelRect(layout::Image1);
    const RECT border{place.left, place.top, place.left + previewSize_.cx + 2, place.top + previewSize_.cy + 2};
    FrameRect(dc, &border, GetSysColorBrush(COLOR_WINDOWFRAME));
    const Selection selected(source, preview_.get());
    BitBlt(dc, place.left + 1, place.top + 1, previewSize_.cx, previewSize_.cy, source, 0, 0, SRCCOPY);
}

Form1Window::Image* Form1Window::imageAt(POINT point) {
    for (Image& candidate : images_) {
        if (candidate.visible && PtInRect(&candidate.rect, point)) return &candidate;
    }
    return nullptr;
}

Form1Window::Image& Form1Window::image(Control control) {
    for (Image& candidate : images_) {
        if (candidate.control == control) return candidate;
    }
    return images_.front();  // every caller names an image control
}

void Form1Window::mouseDown(Control control) {
    if (!form_) return;
    switch (control) {
        case Control::directions0:
        case Control::directions1: form_->directions_MouseDown(); break;
        case Control::newcam0:
        case Control::newcam1: form_->newcam_MouseDown(); break;
        case Control::pick0:
        case Control::pick1: form_->pick_MouseDown(); break;
        case Control::prev0:
        case Control::prev1: form_->prev_MouseDown(); break;
        default: break;
    }
}

void Form1Window::mouseUp(Control control, bool leftButton, bool inside) {
    if (!form_) return;
    const bool click = leftButton && inside;
    switch (control) {
        case Control::directions0:
        case Control::directions1: form_->directions_MouseUp(); break;
        case Control::newcam0:
        case Control::newcam1: form_->newcam_MouseUp(); break;
        case Control::pick0:
        case Control::pick1: form_->pick_MouseUp(); break;
        case Control::prev0:
        case Control::prev1: form_->prev_MouseUp(); break;
        case Control::Picture1: if (click) form_->Picture1_Click(); break;
        case Control::ontop0:
        case Control::ontop1: if (click) form_->ontop_Click(); break;
        case Control::xit: if (click) form_->xit_Click(); break;
        case Control::brellow: if (click) form_->brellow_Click(); break;
        default: break;
    }
}

void Form1Window::command(Control control) {
    if (!form_) return;
    if (control == Control::Option1_0 || control == Control::Option1_1) form_->Option1_Click();
    if (control == Control::optSize0 || control == Control::optSize1) form_->optSize_Click();
}

void Form1Window::setVisible(Pair pair, std::int16_t index, bool visible) {
    if (pair == Pair::directions) {
        ShowWindow(directions_[index != 0], visible ? SW_SHOWNA : SW_HIDE);
        return;
    }
    static constexpr Control pairs[][2] = {
        {Control::directions0, Control::directions1}, {Control::newcam0, Control::newcam1},
        {Control::pick0, Control::pick1},             {Control::prev0, Control::prev1},
        {Control::ontop0, Control::ontop1},
    };
    Image& shown = image(pairs[static_cast<int>(pair)][index != 0]);
    if (shown.visible == visible) return;
    shown.visible = visible;
    InvalidateRect(hwnd_, &shown.rect, FALSE);
    UpdateWindow(hwnd_);  // the pressed look shows at once, before any dialog opens
}

void Form1Window::setFolderCaption(const Text& caption) {
    SetWindowTextW(lblFolder_, caption.c_str());
    // The label's ground is the window's: have the old text painted over.
    RECT rect = pixelRect(layout::lblFolder);
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
    SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left, px(height),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form1Window::focusPicture1() { SetFocus(picture1_); }

void Form1Window::unload() { DestroyWindow(hwnd_); }

void Form1Window::showPreview(const Picture& picture) {
    GdiBitmap shown = bitmapFromPicture(picture);
    if (!shown) return;
    const RECT place = pixelRect(layout::Image1);
    // Repaint the larger of the old and new boxes, so the ground shows where a larger
    // preview was.
    RECT area{place.left, place.top, place.left + std::max<LONG>(previewSize_.cx, picture.width) + 2,
              place.top + std::max<LONG>(previewSize_.cy, picture.height) + 2};
    preview_ = std::move(shown);
    previewSize_ = {picture.width, picture.height};
    InvalidateRect(hwnd_, &area, TRUE);
}

void Form1Window::minimise(const ScreenRect& keepClear) {
    KillTimer(hwnd_, restoreWatchTimer);
    RECT window;
    GetWindowRect(hwnd_, &window);
    const RECT grab{keepClear.left, keepClear.top, keepClear.right, keepClear.bottom};
    RECT overlap;
    mustClear_.reset();
    if (IsWindowVisible(hwnd_) && !IsIconic(hwnd_) && IntersectRect(&overlap, &window, &grab)) {
        // Remember how the window looks there, to see when it has gone from the screen.
        if (auto own = Win32ScreenGrabber().grab({overlap.left, overlap.top, overlap.right, overlap.bottom},
                                                 DisplayForm::NoDevice)) {
            ownPixels_ = own->picture();
            mustClear_ = overlap;
        }
    }
    minimisedAt_ = static_cast<ULONGLONG>(Win32Clock().monotonicMilliseconds());
    restoreKicksLeft_ = maxRestoreKicks;
    ShowWindow(hwnd_, SW_MINIMIZE);
    // Hidden as well, the window leaves the screen at once instead of through the
    // window manager's minimise animation. (Hidden before minimising, it would be
    // shown again as a new minimised window, which the window manager places anew.)
    if (mustClear_) ShowWindow(hwnd_, SW_HIDE);
}

void Form1Window::waitUntilClear() {
    if (!mustClear_) return;
    const ScreenRect area{mustClear_->left, mustClear_->top, mustClear_->right, mustClear_->bottom};
    const ULONGLONG deadline = minimisedAt_ + clearWaitLimit;
    Picture previous;
    ULONGLONG unchangedSince = 0;
    Win32ScreenGrabber grabber;
    while (static_cast<ULONGLONG>(Win32Clock().monotonicMilliseconds()) < deadline) {
        const auto now = grabber.grab(area, DisplayForm::NoDevice);
        if (!now) break;
        const Picture& current = now->picture();
        const ULONGLONG time = static_cast<ULONGLONG>(Win32Clock().monotonicMilliseconds());
        const bool changed = current != previous;
        if (changed) {
            previous = current;
            unchangedSince = time;
        }
        std::size_t stillOwn = 0;
        for (std::size_t i = 0; i < current.pixels.size(); ++i) stillOwn += current.pixels[i] == ownPixels_.pixels[i];
        const std::size_t pixels = current.pixels.size();
        if (!changed && stillOwn * settledShare <= pixels) break;
        if (time - minimisedAt_ >= redrawAllowance && time - unchangedSince >= unchangedLength &&
            stillOwn * chanceShare <= pixels) {
            break;
        }
        Sleep(1);
    }
    mustClear_.reset();
}

void Form1Window::restore() {
    bringBack();
    restoredAt_ = static_cast<ULONGLONG>(Win32Clock().monotonicMilliseconds());
    restoreWatchUntil_ = restoredAt_ + restoreWatchLength;
    SetTimer(hwnd_, restoreWatchTimer, restoreWatchInterval, nullptr);
}

void Form1Window::bringBack() {
    // Hidden before it is restored, the minimised window is shown anew at its place
    // instead of through the window manager's restore animation (some 170 ms with
    // openbox's, against 12).
    ShowWindow(hwnd_, SW_HIDE);
    ShowWindow(hwnd_, SW_RESTORE);
}

bool Form1Window::showsOnScreen() const {
    POINT origin{0, 0};
    ClientToScreen(hwnd_, &origin);
    const WindowDc screen(nullptr);
    const COLORREF ground = colorRef(layout::backgroundColour);
    for (const POINT& point : groundPoints) {
        if (GetPixel(screen.get(), origin.x + point.x, origin.y + point.y) == ground) return true;
    }
    return false;
}

void Form1Window::watchRestore() {
    // The window manager may carry out a minimise after the restore that followed
    // it, leaving the window minimised (Wine then knows it) or unmapped while Wine
    // believes it shown. Bring the window back in either case; a topmost window
    // that does not show on the screen is the second.
    if (IsIconic(hwnd_)) {
        bringBack();
    } else if (restoreKicksLeft_ > 0 && static_cast<ULONGLONG>(Win32Clock().monotonicMilliseconds()) - restoredAt_ >= restoreAnimationAllowance &&
               (GetWindowLongW(hwnd_, GWL_EXSTYLE) & WS_EX_TOPMOST) && GetForegroundWindow() == hwnd_ &&
               !showsOnScreen()) {
        --restoreKicksLeft_;
        ShowWindow(hwnd_, SW_MINIMIZE);
        bringBack();
    }
    if (static_cast<ULONGLONG>(Win32Clock().monotonicMilliseconds()) >= restoreWatchUntil_) KillTimer(hwnd_, restoreWatchTimer);
}

}  // namespace skl
