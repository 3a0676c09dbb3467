// Reports what the Win32 desktop holds, for the end-to-end tests. Each command
// prints one JSON object on standard output and exits 0, or exits 1 when what
// it looks for is not there (after waiting, where a wait was asked for).
//
//   desktop_probe window TITLE [--class CLASS] [--wait MS]
//       the first top-level window with that title (and class): handle, class,
//       outer rectangle, client rectangle in screen coordinates, style, extended
//       style, topmost, iconic, visible, enabled, foreground
//   desktop_probe list TITLE [--class CLASS]
//       every top-level window with that title (and class), described as above
//   desktop_probe gone TITLE [--class CLASS] [--wait MS]
//       succeeds once no such window is left
//   desktop_probe children TITLE [--class CLASS] [--wait MS]
//       the window as above and each of its descendants: class, id, text,
//       rectangle in screen coordinates, the part of it that its ancestors do not
//       clip away ("shown"), visible, focused, for buttons checked, and for
//       icon controls which system icon they show ("question", "exclamation",
//       "information", "error", "other", or "" for none)
//   desktop_probe watch TITLE MS
//       samples the window's state every millisecond for MS milliseconds and
//       reports whether it was ever iconic, ever absent, and its state at the end
//   desktop_probe clipboard
//       the formats on the clipboard and the size of its CF_BITMAP, if any
//   desktop_probe dpi TITLE [--wait MS]
//       what the system says of the window's resolution: the screen's dots per
//       inch as this probe (aware, as the program is) sees them, GetDpiForWindow,
//       the window's awareness (0 unaware, 1 system, 2 per monitor), its rectangle
//       and restored rectangle read in this probe's coordinates and in the
//       window's own, its own corner and last pixel mapped to the screen's by
//       LogicalToPhysicalPointForPerMonitorDPI, this probe's corner mapped back by
//       PhysicalToLogicalPointForPerMonitorDPI, the own corner mapped by Vista's
//       LogicalToPhysicalPoint, and where its client area's drawing lands
//       (GetDCOrgEx); null for what this Windows cannot answer, false for a
//       mapping it refuses
//
// A message box or input box is the window of class "#32770" with its title.

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include "capture/win32/system_win32.h"

namespace {

constexpr int exitFound = 0;
constexpr int exitNotFound = 1;
constexpr int exitUsage = 2;

// JSON text built up field by field; strings are escaped as JSON requires.
class Json {
public:
    Json& text(const char* key, const std::wstring& value) {
        name(key);
        out_ += '"';
        for (wchar_t c : value) escape(c);
        out_ += '"';
        return *this;
    }
    Json& number(const char* key, long long value) {
        name(key);
        out_ += std::to_string(value);
        return *this;
    }
    Json& flag(const char* key, bool value) {
        name(key);
        out_ += value ? "true" : "false";
        return *this;
    }
    Json& rect(const char* key, const RECT& r) {
        name(key);
        out_ += '[' + std::to_string(r.left) + ',' + std::to_string(r.top) + ',' +
                std::to_string(r.right) + ',' + std::to_string(r.bottom) + ']';
        return *this;
    }
    Json& raw(const char* key, const std::string& json) {
        name(key);
        out_ += json;
        return *this;
    }
    std::string done() const { return '{' + out_ + '}'; }

private:
    void name(const char* key) {
        if (!out_.empty()) out_ += ',';
        out_ += '"';
        out_ += key;
        out_ += "\":";
    }
    void escape(wchar_t c) {
        if (c == L'"' || c == L'\\') {
            out_ += '\\';
            out_ += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7f) {
            out_ += static_cast<char>(c);
        } else {
            char code[8];
            std::snprintf(code, sizeof code, "\\u%04x", static_cast<unsigned>(c) & 0xffffu);
            out_ += code;
        }
    }
    std::string out_;
};

std::wstring windowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

std::wstring className(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

struct Target {
    std::wstring title;
    std::optional<std::wstring> windowClass;
};

struct Search {
    const Target* target;
    HWND found;
};

BOOL CALLBACK matchTopLevel(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    if (windowText(window) != search->target->title) return TRUE;
    if (search->target->windowClass && className(window) != *search->target->windowClass) return TRUE;
    search->found = window;
    return FALSE;
}

HWND findTopLevel(const Target& target) {
    Search search{&target, nullptr};
    EnumWindows(matchTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Polls until the window is there (or gone), for at most waitMs.
HWND waitFor(const Target& target, DWORD waitMs, bool present) {
    const DWORD start = GetTickCount();  // elapsed time as a difference survives the count's wrap
    for (;;) {
        HWND window = findTopLevel(target);
        if ((window != nullptr) == present || GetTickCount() - start >= waitMs) return window;
        Sleep(10);
    }
}

RECT clientOnScreen(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
    return client;
}

Json describe(HWND window) {
    RECT outer{};
    GetWindowRect(window, &outer);
    const auto exStyle = static_cast<unsigned long>(GetWindowLongW(window, GWL_EXSTYLE));
    Json json;
    json.number("hwnd", static_cast<long long>(reinterpret_cast<INT_PTR>(window)))
        .text("class", className(window))
        .text("title", windowText(window))
        .rect("rect", outer)
        .rect("client", clientOnScreen(window))
        .number("style", static_cast<unsigned long>(GetWindowLongW(window, GWL_STYLE)))
        .number("exstyle", exStyle)
        .flag("topmost", (exStyle & WS_EX_TOPMOST) != 0)
        .flag("iconic", IsIconic(window) != 0)
        .flag("visible", IsWindowVisible(window) != 0)
        .flag("enabled", IsWindowEnabled(window) != 0)
        .flag("foreground", GetForegroundWindow() == window);
    return json;
}

// 32-bit pixels of a width x height device-independent bitmap drawn by `draw`.
template <typename Draw>
std::vector<std::uint32_t> drawPixels(int width, int height, Draw draw) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> pixels;
    const skl::WindowDc screen(nullptr);
    void* bits = nullptr;
    const skl::GdiBitmap bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const skl::DeviceContext memory(CreateCompatibleDC(screen.get()));
    if (!screen || !bitmap || !memory) return pixels;
    {
        const skl::Selection selected(memory.get(), bitmap.get());
        draw(memory.get(), screen.get());
        GdiFlush();
    }
    const auto* first = static_cast<const std::uint32_t*>(bits);
    pixels.assign(first, first + static_cast<std::size_t>(width) * height);
    for (auto& pixel : pixels) pixel &= 0xffffffu;
    return pixels;
}

// Which of the system's message-box icons a static icon control shows, told
// by its pixels on the screen: icon handles are not shared between processes.
std::wstring iconName(HWND control) {
    // The handle itself means nothing here, but whether there is one does.
    if (SendMessageW(control, STM_GETICON, 0, 0) == 0) return L"";
    RECT r{};
    GetWindowRect(control, &r);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return L"";
    const auto shown = drawPixels(width, height, [&](HDC memory, HDC screen) {
        BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    });
    if (shown.empty()) return L"";
    static const struct {
        LPCWSTR id;
        const wchar_t* name;
    } known[] = {{IDI_QUESTION, L"question"}, {IDI_EXCLAMATION, L"exclamation"},
                 {IDI_ASTERISK, L"information"}, {IDI_HAND, L"error"}};
    for (const auto& k : known) {
        const auto drawn = drawPixels(width, height, [&](HDC memory, HDC) {
            // The icon on the control's background, which its corner pixel shows.
            const skl::GdiBrush background(
                CreateSolidBrush(RGB(shown[0] >> 16 & 0xff, shown[0] >> 8 & 0xff, shown[0] & 0xff)));
            RECT all{0, 0, width, height};
            FillRect(memory, &all, background.get());
            DrawIconEx(memory, 0, 0, LoadIconW(nullptr, k.id), 0, 0, 0, nullptr, DI_NORMAL);
        });
        if (drawn == shown) return k.name;
    }
    return L"other";
}

// The part of the window that its ancestors' client areas do not clip away, in
// screen coordinates.
RECT shownRect(HWND window) {
    RECT shown{};
    GetWindowRect(window, &shown);
    for (HWND parent = GetParent(window); parent && (GetWindowLongW(window, GWL_STYLE) & WS_CHILD);
         window = parent, parent = GetParent(parent)) {
        const RECT client = clientOnScreen(parent);
        if (!IntersectRect(&shown, &shown, &client)) return RECT{};
    }
    return shown;
}

// The window holding the keyboard focus in the thread that owns `window`.
HWND focusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

BOOL CALLBACK describeChild(HWND child, LPARAM param) {
    auto* list = reinterpret_cast<std::string*>(param);
    RECT r{};
    GetWindowRect(child, &r);
    const auto style = static_cast<unsigned long>(GetWindowLongW(child, GWL_STYLE));
    const std::wstring kind = className(child);
    Json json;
    json.text("class", kind)
        .number("id", GetDlgCtrlID(child))
        .text("text", windowText(child))
        .rect("rect", r)
        .rect("shown", shownRect(child))
        .number("style", style)
        .flag("visible", IsWindowVisible(child) != 0)
        .flag("focused", focusOf(child) == child);
    if (_wcsicmp(kind.c_str(), L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON) {
        json.text("icon", iconName(child));
    }
    if (_wcsicmp(kind.c_str(), L"Button") == 0) {
        json.flag("checked", SendMessageW(child, BM_GETCHECK, 0, 0) == BST_CHECKED);
    }
    if (!list->empty()) *list += ',';
    *list += json.done();
    return TRUE;
}

std::string describeChildren(HWND window) {
    std::string list;
    EnumChildWindows(window, describeChild, reinterpret_cast<LPARAM>(&list));
    return '[' + list + ']';
}

struct Listing {
    const Target* target;
    std::string json;
};

BOOL CALLBACK describeMatch(HWND window, LPARAM param) {
    auto* listing = reinterpret_cast<Listing*>(param);
    if (windowText(window) != listing->target->title) return TRUE;
    if (listing->target->windowClass && className(window) != *listing->target->windowClass) return TRUE;
    if (!listing->json.empty()) listing->json += ',';
    listing->json += describe(window).done();
    return TRUE;
}

int list(const Target& target) {
    Listing listing{&target, {}};
    EnumWindows(describeMatch, reinterpret_cast<LPARAM>(&listing));
    std::printf("{\"windows\":[%s]}\n", listing.json.c_str());
    return exitFound;
}

int watch(const Target& target, DWORD durationMs) {
    bool everIconic = false;
    bool everAbsent = false;
    long long samples = 0;
    const DWORD start = GetTickCount();
    HWND window = nullptr;
    do {
        window = findTopLevel(target);
        if (window == nullptr) {
            everAbsent = true;
        } else if (IsIconic(window)) {
            everIconic = true;
        }
        ++samples;
        Sleep(1);
    } while (GetTickCount() - start < durationMs);
    Json json;
    json.flag("ever_iconic", everIconic)
        .flag("ever_absent", everAbsent)
        .number("samples", samples)
        .flag("present", window != nullptr)
        .flag("iconic", window != nullptr && IsIconic(window));
    std::printf("%s\n", json.done().c_str());
    return exitFound;
}

std::string formatName(UINT format) {
    switch (format) {
    case CF_BITMAP: return "CF_BITMAP";
    case CF_DIB: return "CF_DIB";
    case CF_DIBV5: return "CF_DIBV5";
    case CF_TEXT: return "CF_TEXT";
    case CF_UNICODETEXT: return "CF_UNICODETEXT";
    default: {
        char name[128] = {};
        if (GetClipboardFormatNameA(format, name, sizeof name) > 0) return name;
        return std::to_string(format);
    }
    }
}

int clipboard() {
    if (!OpenClipboard(nullptr)) {
        std::fprintf(stderr, "desktop_probe: the clipboard could not be opened (error %lu)\n",
                     GetLastError());
        return exitNotFound;
    }
    std::string formats;
    for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format)) {
        if (!formats.empty()) formats += ',';
        formats += '"' + formatName(format) + '"';
    }
    Json json;
    json.raw("formats", '[' + formats + ']');
    const bool hasBitmap = IsClipboardFormatAvailable(CF_BITMAP) != 0;
    json.flag("bitmap", hasBitmap);
    if (hasBitmap) {
        BITMAP info{};
        if (GetObjectW(GetClipboardData(CF_BITMAP), sizeof info, &info) == sizeof info) {
            json.number("width", info.bmWidth).number("height", info.bmHeight);
        }
    }
    CloseClipboard();
    std::printf("%s\n", json.done().c_str());
    return exitFound;
}

// The window's resolution as the system tells it, each call looked up at run time.
class ResolutionProbe {
public:
    explicit ResolutionProbe(HWND window) : window_(window) {}

    std::string describe() const {
        Json json;
        const skl::WindowDc screen(nullptr);
        json.number("screen_dpi", GetDeviceCaps(screen.get(), LOGPIXELSX));
        json.raw("window_dpi", dpiForWindow_ ? std::to_string(dpiForWindow_(window_)) : "null");
        const DPI_AWARENESS_CONTEXT own = windowContext_ ? windowContext_(window_) : nullptr;
        json.raw("awareness", own && awarenessOf_ ? std::to_string(awarenessOf_(own)) : "null");
        RECT outer{};
        GetWindowRect(window_, &outer);
        json.rect("rect", outer).rect("placement", restored());
        std::optional<RECT> ownOuter;
        if (own && setThreadContext_) {
            const DPI_AWARENESS_CONTEXT before = setThreadContext_(own);
            RECT inOwn{};
            if (before && GetWindowRect(window_, &inOwn)) ownOuter = inOwn;
            const RECT ownRestored = restored();
            if (before) setThreadContext_(before);
            if (ownOuter) json.rect("rect_own", *ownOuter).rect("placement_own", ownRestored);
        }
        if (!ownOuter) json.raw("rect_own", "null").raw("placement_own", "null");
        const RECT& logical = ownOuter ? *ownOuter : outer;
        json.raw("logical_to_physical_corner", mapped(logicalToPhysicalPerMonitor_, {logical.left, logical.top}))
            .raw("logical_to_physical_last",
                 mapped(logicalToPhysicalPerMonitor_, {logical.right - 1, logical.bottom - 1}))
            .raw("physical_to_logical_corner", mapped(physicalToLogicalPerMonitor_, {outer.left, outer.top}))
            .raw("vista_logical_to_physical_corner", mapped(vistaLogicalToPhysical_, {logical.left, logical.top}));
        // Where the system draws the client area: the screen's own account.
        const skl::WindowDc client(window_);
        POINT origin{};
        if (client && GetDCOrgEx(client.get(), &origin)) {
            json.raw("client_drawn_at", '[' + std::to_string(origin.x) + ',' + std::to_string(origin.y) + ']');
        } else {
            json.raw("client_drawn_at", "null");
        }
        return json.done();
    }

private:
    using DpiForWindow = UINT(WINAPI*)(HWND);
    using WindowContext = DPI_AWARENESS_CONTEXT(WINAPI*)(HWND);
    using AwarenessOf = int(WINAPI*)(DPI_AWARENESS_CONTEXT);
    using SetThreadContext = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);
    using MapPoint = BOOL(WINAPI*)(HWND, POINT*);

    RECT restored() const {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        GetWindowPlacement(window_, &placement);
        return placement.rcNormalPosition;
    }

    // The mapped point, false where the call refuses it, null where there is no such call.
    std::string mapped(MapPoint map, POINT point) const {
        if (!map) return "null";
        if (!map(window_, &point)) return "false";
        return '[' + std::to_string(point.x) + ',' + std::to_string(point.y) + ']';
    }

    template <typename Function>
    static Function user32(const char* name) {
        return skl::loadedSystemFunction<Function>(L"user32.dll", name);
    }

    HWND window_;
    DpiForWindow dpiForWindow_ = user32<DpiForWindow>("GetDpiForWindow");
    WindowContext windowContext_ = user32<WindowContext>("GetWindowDpiAwarenessContext");
    AwarenessOf awarenessOf_ = user32<AwarenessOf>("GetAwarenessFromDpiAwarenessContext");
    SetThreadContext setThreadContext_ = user32<SetThreadContext>("SetThreadDpiAwarenessContext");
    MapPoint logicalToPhysicalPerMonitor_ = user32<MapPoint>("LogicalToPhysicalPointForPerMonitorDPI");
    MapPoint physicalToLogicalPerMonitor_ = user32<MapPoint>("PhysicalToLogicalPointForPerMonitorDPI");
    MapPoint vistaLogicalToPhysical_ = user32<MapPoint>("LogicalToPhysicalPoint");
};

int usage() {
    std::fprintf(stderr,
                 "usage: desktop_probe window|list|gone|children TITLE [--class CLASS] [--wait MS]\n"
                 "       desktop_probe dpi TITLE [--wait MS]\n"
                 "       desktop_probe watch TITLE MS\n"
                 "       desktop_probe clipboard\n");
    return exitUsage;
}

std::optional<DWORD> parseMs(const wchar_t* text) {
    wchar_t* end = nullptr;
    const unsigned long value = std::wcstoul(text, &end, 10);
    if (end == text || *end != L'\0') return std::nullopt;
    return static_cast<DWORD>(value);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return usage();
    const std::wstring command = argv[1];
    if (command == L"clipboard") return clipboard();
    if (argc < 3) return usage();

    Target target{argv[2], std::nullopt};
    if (command == L"watch") {
        const auto ms = argc == 4 ? parseMs(argv[3]) : std::nullopt;
        return ms ? watch(target, *ms) : usage();
    }

    DWORD waitMs = 0;
    for (int i = 3; i + 1 < argc; i += 2) {
        const std::wstring flag = argv[i];
        if (flag == L"--class") {
            target.windowClass = argv[i + 1];
        } else if (flag == L"--wait") {
            const auto ms = parseMs(argv[i + 1]);
            if (!ms) return usage();
            waitMs = *ms;
        } else {
            return usage();
        }
    }
    if ((argc - 3) % 2 != 0) return usage();

    if (command == L"list") return list(target);
    if (command == L"gone") {
        if (waitFor(target, waitMs, false) != nullptr) return exitNotFound;
        std::printf("{\"gone\":true}\n");
        return exitFound;
    }
    HWND window = waitFor(target, waitMs, true);
    if (window == nullptr) return exitNotFound;
    if (command == L"window") {
        std::printf("%s\n", describe(window).done().c_str());
    } else if (command == L"dpi") {
        std::printf("%s\n", ResolutionProbe(window).describe().c_str());
    } else if (command == L"children") {
        std::printf("%s\n", describe(window).raw("children", describeChildren(window)).done().c_str());
    } else {
        return usage();
    }
    return exitFound;
}
