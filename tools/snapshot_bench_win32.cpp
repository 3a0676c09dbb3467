// Times the snapshot command on the real main window and the real Win32 desktop:
// every platform interface the command uses is wrapped in a thin decorator that
// notes when each call begins and ends, the input box answers the viewer's ID and
// message boxes are recorded instead of shown. One New Cam, then N clicks on the
// smiley, each followed by pumping the window's events until it is back on the
// screen. Every saved picture is checked pixel for pixel against the sample
// viewer's test picture, so the program's own window can never be in it unnoticed.
//
//   snapshot_bench ID [--shots N] [--overlap] [--small] [--soak] [--frame F]
//                     [--settle MS] [--keep]
//
// --overlap  puts the program's window over the viewer's camera rectangle first
// --small    chooses Small Size (162 x 122) instead of Regular Size
// --soak     alternates the two sizes, makes the viewer show a new frame before
//            every shot (a key press) and keeps every file until the end, where
//            all of them are checked again: present, distinct, named in order
// --frame    the frame the viewer shows at the start (default 0)
// --settle   milliseconds of event pumping after the window is back (default 30)
// --keep     leaves the saved files in the temporary folder
//
// Exit code 0 when every shot saved a correct picture, 1 otherwise, 2 on bad use.

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include "capture/BmpFile.h"
#include "capture/Snapshot.h"
#include "tools/test_picture.h"
#include "window/Win32Desktop_win32.h"

namespace {

using namespace skl;

double nowMs() {
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / ticksPerMs;
}

// The port calls of one shot whose times are noted.
enum class Call { findWindow, readPlacement, minimise, yield, waitUntilClear, grab, clipboard, showPreview,
                  writeFile, restore };
constexpr std::size_t callCount = 10;

// When each call began (its first time in the shot) and ended (its last time).
class ShotLog {
public:
    void clear() { spans_.fill({}); }
    void enter(Call call) {
        Span& span = spans_[static_cast<std::size_t>(call)];
        if (span.begin < 0) span.begin = nowMs();
    }
    void leave(Call call) { spans_[static_cast<std::size_t>(call)].end = nowMs(); }
    bool happened(Call call) const { return spans_[static_cast<std::size_t>(call)].end >= 0; }
    double startOf(Call call) const { return spans_[static_cast<std::size_t>(call)].begin; }
    double endOf(Call call) const { return spans_[static_cast<std::size_t>(call)].end; }
    double length(Call call) const { return endOf(call) - startOf(call); }

private:
    struct Span {
        double begin = -1;
        double end = -1;
    };
    std::array<Span, callCount> spans_{};
};

class Timed {
public:
    Timed(ShotLog& log, Call call) : log_(log), call_(call) { log_.enter(call_); }
    ~Timed() { log_.leave(call_); }
    Timed(const Timed&) = delete;
    Timed& operator=(const Timed&) = delete;

private:
    ShotLog& log_;
    Call call_;
};

class TimedWindowLookup final : public WindowLookup {
public:
    TimedWindowLookup(WindowLookup& inner, ShotLog& log) : inner_(inner), log_(log) {}
    WindowHandle findWindow(const Text& title) override {
        const Timed timed(log_, Call::findWindow);
        return inner_.findWindow(title);
    }
    bool readPlacement(WindowHandle window, WindowPlacement& placement) override {
        const Timed timed(log_, Call::readPlacement);
        return inner_.readPlacement(window, placement);
    }

private:
    WindowLookup& inner_;
    ShotLog& log_;
};

class TimedGrabber final : public ScreenGrabber {
public:
    TimedGrabber(ScreenGrabber& inner, ShotLog& log) : inner_(inner), log_(log) {}
    std::unique_ptr<GrabbedBitmap> grab(const ScreenRect& rect, DisplayForm form) override {
        const Timed timed(log_, Call::grab);
        return inner_.grab(rect, form);
    }

private:
    ScreenGrabber& inner_;
    ShotLog& log_;
};

class TimedClipboard final : public Clipboard {
public:
    TimedClipboard(Clipboard& inner, ShotLog& log) : inner_(inner), log_(log) {}
    bool tryPutBitmap(GrabbedBitmap& bitmap) override {
        const Timed timed(log_, Call::clipboard);
        return inner_.tryPutBitmap(bitmap);
    }

private:
    Clipboard& inner_;
    ShotLog& log_;
};

// Also remembers the last file written, for the checks.
class TimedFileStore final : public FileStore {
public:
    TimedFileStore(FileStore& inner, ShotLog& log) : inner_(inner), log_(log) {}
    WriteResult writeNewFile(const Text& path, std::span<const std::uint8_t> bytes) override {
        const Timed timed(log_, Call::writeFile);
        WriteResult result = inner_.writeNewFile(path, bytes);
        if (result.status == WriteResult::Status::Written) lastWritten = path;
        return result;
    }
    Text lastWritten;

private:
    FileStore& inner_;
    ShotLog& log_;
};

// The real window, with the capture's calls on it timed.
class TimedView final : public Form1View {
public:
    TimedView(Form1Window& inner, ShotLog& log) : inner_(inner), log_(log) {}

    WindowHandle hWnd() override { return inner_.hWnd(); }
    void setVisible(Pair pair, std::int16_t index, bool visible) override { inner_.setVisible(pair, index, visible); }
    void setFolderCaption(const Text& caption) override { inner_.setFolderCaption(caption); }
    void selectOption1(std::int16_t index) override { inner_.selectOption1(index); }
    void setOuterHeightTwips(std::int32_t height) override { inner_.setOuterHeightTwips(height); }
    void focusPicture1() override { inner_.focusPicture1(); }
    void unload() override { inner_.unload(); }
    Text idCaption() override { return inner_.idCaption(); }
    void setIdCaption(const Text& caption) override { inner_.setIdCaption(caption); }
    bool regularSizeSelected() override { return inner_.regularSizeSelected(); }

    void minimise(const ScreenRect& keepClear) override {
        const Timed timed(log_, Call::minimise);
        inner_.minimise(keepClear);
    }
    void yieldToEvents() override {
        const Timed timed(log_, Call::yield);
        inner_.yieldToEvents();
    }
    void waitUntilClear() override {
        const Timed timed(log_, Call::waitUntilClear);
        inner_.waitUntilClear();
    }
    void restore() override {
        const Timed timed(log_, Call::restore);
        inner_.restore();
    }
    void showPreview(const Picture& picture) override {
        const Timed timed(log_, Call::showPreview);
        inner_.showPreview(picture);
    }

private:
    Form1Window& inner_;
    ShotLog& log_;
};

// The input box answers the ID; message boxes are noted, never shown.
class ScriptedDialogs final : public Dialogs {
public:
    explicit ScriptedDialogs(Text answer) : answer_(std::move(answer)) {}
    void messageBox(const Text& prompt, MessageIcon, const Text&) override { messages.push_back(prompt); }
    Text inputBox(const Text&, const Text&) override { return answer_; }
    std::vector<Text> messages;

private:
    Text answer_;
};

// The desktop folder is the benchmark's own temporary folder.
class BenchFolders final : public SpecialFolders {
public:
    explicit BenchFolders(Text folder) : folder_(std::move(folder)) {}
    std::optional<Text> specialFolderPath(WindowHandle, std::int32_t) override { return folder_; }

private:
    Text folder_;
};

struct Options {
    Text id;
    int shots = 1000;
    bool overlap = false;
    bool small = false;
    bool soak = false;
    std::uint32_t frame = 0;
    int settleMs = 30;
    bool keep = false;
};

std::optional<Options> parseOptions(int argc, wchar_t** argv) {
    if (argc < 2) return std::nullopt;
    Options options;
    options.id = argv[1];
    for (int i = 2; i < argc; ++i) {
        const std::wstring flag = argv[i];
        const auto number = [&](long minimum) -> std::optional<long> {
            if (i + 1 >= argc) return std::nullopt;
            wchar_t* end = nullptr;
            const long value = std::wcstol(argv[++i], &end, 10);
            if (*end != L'\0' || value < minimum) return std::nullopt;
            return value;
        };
        if (flag == L"--overlap") {
            options.overlap = true;
        } else if (flag == L"--small") {
            options.small = true;
        } else if (flag == L"--soak") {
            options.soak = true;
        } else if (flag == L"--keep") {
            options.keep = true;
        } else if (flag == L"--shots") {
            const auto value = number(1);
            if (!value) return std::nullopt;
            options.shots = static_cast<int>(*value);
        } else if (flag == L"--frame") {
            const auto value = number(0);
            if (!value) return std::nullopt;
            options.frame = static_cast<std::uint32_t>(*value);
        } else if (flag == L"--settle") {
            const auto value = number(0);
            if (!value) return std::nullopt;
            options.settleMs = static_cast<int>(*value);
        } else {
            return std::nullopt;
        }
    }
    return options;
}

std::string narrow(const Text& text) {
    std::string out;
    for (const wchar_t c : text) out += c < 128 ? static_cast<char>(c) : '?';
    return out;
}

void pumpFor(Form1Window& view, double milliseconds) {
    const double until = nowMs() + milliseconds;
    do {
        view.yieldToEvents();
        Sleep(1);
    } while (nowMs() < until);
}

// --- the process's resources -------------------------------------------------

struct Resources {
    DWORD gdiObjects = 0;   // as the system counts them
    DWORD userObjects = 0;
    int gdiHandlesLive = 0;  // live entries of the GDI handle table
    int windowsOwned = 0;    // top-level and child windows of this process
    SIZE_T workingSet = 0;
    SIZE_T privateBytes = 0;
};

BOOL CALLBACK countChild(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

BOOL CALLBACK countOwnWindow(HWND hwnd, LPARAM count) {
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (process == GetCurrentProcessId()) {
        ++*reinterpret_cast<int*>(count);
        EnumChildWindows(hwnd, countChild, count);
    }
    return TRUE;
}

// Wine does not count private bytes; its host's count of the process's private
// (anonymous) resident memory stands in, read through the drive that maps the
// host's file system.
SIZE_T residentAnonymousBytes() {
    const HANDLE file = CreateFileW(L"Z:\\proc\\self\\status", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    const FileHandle owned(file);
    char text[4096] = {};
    DWORD read = 0;
    if (!ReadFile(file, text, sizeof text - 1, &read, nullptr)) return 0;
    const char* field = std::strstr(text, "RssAnon:");
    return field ? static_cast<SIZE_T>(std::strtoull(field + 8, nullptr, 10)) * 1024 : 0;
}

Resources measureResources() {
    Resources now;
    now.gdiObjects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    now.userObjects = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    // GDI handles are table indices; a handle without its upper word names any
    // live object in that slot, so the scan counts what the process holds even
    // where the system's own count is not kept.
    for (UINT_PTR index = 0x20; index <= 0xFFFF; ++index) {
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0) ++now.gdiHandlesLive;
    }
    EnumWindows(countOwnWindow, reinterpret_cast<LPARAM>(&now.windowsOwned));
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory)) {
        now.workingSet = memory.WorkingSetSize;
        now.privateBytes = memory.PrivateUsage;
    }
    if (now.privateBytes == 0) now.privateBytes = residentAnonymousBytes();
    return now;
}

// --- what the viewer shows -------------------------------------------------------

struct ViewerClient {
    POINT origin{};  // the client area's top-left corner on the screen
    SIZE size{};
};

ViewerClient viewerClient(HWND viewer) {
    ViewerClient client;
    RECT rect;
    GetClientRect(viewer, &rect);
    ClientToScreen(viewer, &client.origin);
    client.size = {rect.right, rect.bottom};
    return client;
}

std::uint32_t rgbOf(const test_picture::Rgb& c) {
    return (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b;
}

// How many pixels of the picture, taken with its corner at `corner` on the screen,
// differ from the viewer's test picture of that frame; the text band is skipped.
std::size_t differencesFromViewer(const Picture& picture, POINT corner, const ViewerClient& client,
                                  std::uint32_t frame) {
    std::size_t differences = 0;
    for (std::int32_t y = 0; y < picture.height; ++y) {
        const int clientY = corner.y + y - client.origin.y;
        if (clientY >= client.size.cy - test_picture::textBandHeight) break;
        for (std::int32_t x = 0; x < picture.width; ++x) {
            const int clientX = corner.x + x - client.origin.x;
            const bool outside = clientX < 0 || clientY < 0 || clientX >= client.size.cx;
            if (outside || picture.at(x, y) != rgbOf(test_picture::pixel(clientX, clientY, frame))) ++differences;
        }
    }
    return differences;
}

// The frame number the viewer shows on the screen now, read from its frame cells.
std::optional<std::uint32_t> frameOnScreen(const ViewerClient& client) {
    const int y = client.origin.y + test_picture::frameCellsTop + test_picture::frameCellSize / 2;
    const int left = client.origin.x + test_picture::frameCellsLeft;
    const auto row = Win32ScreenGrabber().grab(
        {left, y, left + test_picture::frameBits * test_picture::frameCellSize, y + 1}, DisplayForm::NoDevice);
    if (!row) return std::nullopt;
    std::uint32_t frame = 0;
    for (int bit = 0; bit < test_picture::frameBits; ++bit) {
        const std::uint32_t cell = row->picture().at(bit * test_picture::frameCellSize + 5, 0);
        if (cell == 0xFFFFFF) {
            frame |= 1u << bit;
        } else if (cell != 0) {
            return std::nullopt;  // covered or half drawn
        }
    }
    return frame;
}

std::optional<Picture> readPictureFile(const Text& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    const FileHandle owned(file);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(GetFileSize(file, nullptr)));
    DWORD read = 0;
    if (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) || read != bytes.size()) {
        return std::nullopt;
    }
    return decodeBmp24(bytes);
}

// --- the program's window ---------------------------------------------------------

// A screen point where the window shows its background colour, inside `prefer`
// when it can: while the window is back on the screen this pixel shows that colour.
std::optional<POINT> backgroundPoint(HWND window, const RECT& prefer) {
    RECT client;
    GetClientRect(window, &client);
    POINT origin{};
    ClientToScreen(window, &origin);
    const auto shown = Win32ScreenGrabber().grab(
        {origin.x, origin.y, origin.x + client.right, origin.y + client.bottom}, DisplayForm::NoDevice);
    if (!shown) return std::nullopt;
    std::optional<POINT> found;
    for (std::int32_t y = 0; y < shown->picture().height; ++y) {
        for (std::int32_t x = 0; x < shown->picture().width; ++x) {
            if (shown->picture().at(x, y) != layout::backgroundColour) continue;
            const POINT at{origin.x + x, origin.y + y};
            if (PtInRect(&prefer, at)) return at;
            if (!found) found = at;
        }
    }
    return found;
}

bool showsBackground(POINT at) {
    const auto pixel = Win32ScreenGrabber().grab({at.x, at.y, at.x + 1, at.y + 1}, DisplayForm::NoDevice);
    return pixel && pixel->picture().at(0, 0) == layout::backgroundColour;
}

bool isBack(HWND window, POINT probe) {
    return IsWindowVisible(window) && !IsIconic(window) && showsBackground(probe);
}

// Pumps the window's events until it is back on the screen; the time it was seen
// back, or nothing after two seconds.
std::optional<double> waitUntilBack(Form1Window& view, POINT probe) {
    const double deadline = nowMs() + 2000;
    while (nowMs() < deadline) {
        view.yieldToEvents();
        if (isBack(view.window(), probe)) return nowMs();
        Sleep(0);
    }
    return std::nullopt;
}

// The window system's own time to clear the camera rectangle: the window leaves
// it as a snapshot makes it leave, and the rectangle is read until it shows exactly
// what the viewer paints there. Milliseconds from the start of the minimise, or
// nothing after half a second.
std::optional<double> timeToClear(Form1Window& view, const RECT& camera, const ViewerClient& client,
                                  std::uint32_t frame, POINT probe) {
    const ScreenRect area{camera.left, camera.top, camera.right, camera.bottom};
    const double start = nowMs();
    view.minimise(area);
    std::optional<double> cleared;
    while (!cleared && nowMs() - start < 500) {
        const auto shown = Win32ScreenGrabber().grab(area, DisplayForm::NoDevice);
        const double taken = nowMs() - start;
        if (shown && differencesFromViewer(shown->picture(), {camera.left, camera.top}, client, frame) == 0) {
            cleared = taken;
        }
    }
    view.restore();
    waitUntilBack(view, probe);
    pumpFor(view, 30);
    return cleared;
}

bool chooseSize(HWND window, bool regular) {
    const HWND frame = FindWindowExW(window, nullptr, L"MorvathsSkellimorFrame", nullptr);
    const HWND option = FindWindowExW(frame, nullptr, L"BUTTON", regular ? L"Regular Size" : L"Small Size");
    if (!option) return false;
    SendMessageW(option, BM_CLICK, 0, 0);
    return true;
}

// --- figures -------------------------------------------------------------------------

struct Figure {
    const char* name;
    std::vector<double> values;
};

double percentile(std::vector<double> values, double fraction) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<std::size_t>(fraction * static_cast<double>(values.size()) + 0.999999);
    return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

double median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void printTable(const std::vector<Figure>& figures) {
    std::printf("| %-52s | %9s | %9s | %9s | %5s |\n", "stage (ms)", "median", "p99", "max", "n");
    std::printf("|%s|%s|%s|%s|%s|\n", std::string(54, '-').c_str(), std::string(11, '-').c_str(),
                std::string(11, '-').c_str(), std::string(11, '-').c_str(), std::string(7, '-').c_str());
    for (const Figure& figure : figures) {
        const double maximum = figure.values.empty() ? 0 : *std::max_element(figure.values.begin(), figure.values.end());
        std::printf("| %-52s | %9.3f | %9.3f | %9.3f | %5zu |\n", figure.name, median(figure.values),
                    percentile(figure.values, 0.99), maximum, figure.values.size());
    }
}

void printResources(const char* when, const Resources& r) {
    std::printf("| %-28s | %10lu | %10lu | %10d | %8d | %10.1f | %10.1f |\n", when, r.gdiObjects, r.userObjects,
                r.gdiHandlesLive, r.windowsOwned, static_cast<double>(r.workingSet) / 1024.0,
                static_cast<double>(r.privateBytes) / 1024.0);
}

Text makeFolder() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const Text folder = Text(temp) + L"skellimor-bench-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

void removeFolder(const Text& folder) {
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileW((folder + L"\\" + found.cFileName).c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

std::vector<Text> filesIn(const Text& folder) {
    std::vector<Text> names;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

struct Saved {
    Text path;
    std::uint32_t frame = 0;
    POINT corner{};
    SIZE size{};
};

// Every file saved in the run, looked at again at the end: all there, nothing else,
// each number once and in order, each still holding the frame it was saved with.
int checkSoakFolder(const Text& folder, const std::vector<Saved>& saved, const ViewerClient& client) {
    int faults = 0;
    std::vector<Text> names = filesIn(folder);
    std::sort(names.begin(), names.end());
    std::vector<Text> expected;
    for (const Saved& s : saved) expected.push_back(s.path.substr(folder.size() + 1));
    std::vector<Text> sortedExpected = expected;
    std::sort(sortedExpected.begin(), sortedExpected.end());
    if (std::adjacent_find(sortedExpected.begin(), sortedExpected.end()) != sortedExpected.end()) {
        std::printf("FAULT: two shots were saved under the same name\n");
        ++faults;
    }
    if (names != sortedExpected) {
        std::printf("FAULT: the folder holds %zu files, %zu were saved\n", names.size(), expected.size());
        ++faults;
    }
    std::vector<Text> stamps;
    for (std::size_t i = 0; i < saved.size(); ++i) {
        const Text& name = expected[i];
        const Text suffix = L" " + std::to_wstring(i) + L".bmp";
        if (name.size() < suffix.size() || name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) {
            std::printf("FAULT: shot %zu was saved as %s\n", i, narrow(name).c_str());
            ++faults;
        }
        const auto picture = readPictureFile(saved[i].path);
        if (!picture || picture->width != saved[i].size.cx || picture->height != saved[i].size.cy ||
            differencesFromViewer(*picture, saved[i].corner, client, saved[i].frame) != 0) {
            std::printf("FAULT: %s no longer holds frame %u\n", narrow(name).c_str(), saved[i].frame);
            ++faults;
        }
    }
    for (std::size_t i = 1; i < saved.size(); ++i) {
        // mm-dd-yyyy hh-nn-ss: order by year, then the rest.
        const auto key = [&](std::size_t k) {
            const Text& n = expected[k];
            const std::size_t dash = n.size() - (L" " + std::to_wstring(k) + L".bmp").size() - 19;
            const Text stamp = n.substr(dash, 19);
            return stamp.substr(6, 4) + stamp.substr(0, 5) + stamp.substr(10);
        };
        if (key(i) < key(i - 1)) {
            std::printf("FAULT: shot %zu carries an earlier time than shot %zu\n", i, i - 1);
            ++faults;
        }
    }
    return faults;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const auto parsed = parseOptions(argc, argv);
    if (!parsed) {
        std::fprintf(stderr, "usage: snapshot_bench ID [--shots N] [--overlap] [--small] [--soak] [--frame F] "
                             "[--settle MS] [--keep]\n");
        return 2;
    }
    const Options& options = *parsed;
    const Text viewerTitle = texts::viewerTitlePrefix + options.id;
    const HWND viewer = FindWindowW(nullptr, viewerTitle.c_str());
    if (!viewer) {
        std::fprintf(stderr, "no window titled \"%s\"\n", narrow(viewerTitle).c_str());
        return 2;
    }
    const Text folder = makeFolder();

    ShotLog log;
    Form1Window window(GetModuleHandleW(nullptr));
    Win32Desktop real(window);
    TimedView view(window, log);
    TimedWindowLookup windows(real.windows, log);
    TimedGrabber grabber(real.grabber, log);
    TimedClipboard clipboard(real.clipboard, log);
    TimedFileStore files(real.files, log);
    ScriptedDialogs dialogs(options.id);
    BenchFolders specialFolders(folder);
    Form1 form(Form1Ports{L'\\', view, CapturePorts{view, windows, real.screen, grabber, clipboard, files, real.clock, dialogs},
                          specialFolders, real.osVersion, real.topmost, real.folderDialog, real.shell});
    window.attach(form);
    form.Form_Load();
    window.show();
    pumpFor(window, 300);

    RECT viewerRect;
    GetWindowRect(viewer, &viewerRect);
    const RECT camera{viewerRect.left + cameraOffset.x, viewerRect.top + cameraOffset.y,
                      viewerRect.left + cameraOffset.x + regularSize.x, viewerRect.top + cameraOffset.y + regularSize.y};
    if (options.overlap) {
        // The window's corner a third of the way into the camera rectangle.
        SetWindowPos(window.window(), nullptr, camera.left + regularSize.x / 3, camera.top + regularSize.y / 3, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        pumpFor(window, 300);
    }
    RECT own;
    GetWindowRect(window.window(), &own);
    RECT overlap{};
    const bool overlapping = IntersectRect(&overlap, &own, &camera) != FALSE;

    form.newcam_MouseDown();
    form.newcam_MouseUp();
    if (options.small && !chooseSize(window.window(), false)) {
        std::fprintf(stderr, "no Small Size option found\n");
        return 2;
    }
    pumpFor(window, 100);
    const auto probe = backgroundPoint(window.window(), overlap);
    if (!probe) {
        std::fprintf(stderr, "the window's background does not show on the screen\n");
        return 2;
    }
    const ViewerClient client = viewerClient(viewer);
    std::uint32_t frame = options.frame;

    std::printf("snapshot_bench: %d shots of \"%s\", %s, %s; window at (%ld,%ld)-(%ld,%ld), camera rectangle "
                "(%ld,%ld)-(%ld,%ld), %s\n",
                options.shots, narrow(viewerTitle).c_str(), sizeof(void*) == 8 ? "64-bit" : "32-bit",
                options.soak ? "sizes alternating, a new frame every shot" : options.small ? "Small Size" : "Regular Size",
                own.left, own.top, own.right, own.bottom, camera.left, camera.top, camera.right, camera.bottom,
                overlapping ? "overlapping" : "not overlapping");
    std::fflush(stdout);

    // Without the command around it, for comparison with the command's own wait.
    Figure clearing{"window system clears the area (floor, from minimise)", {}};
    if (overlapping) {
        for (int shot = 0; shot < std::min(options.shots, 100); ++shot) {
            if (const auto cleared = timeToClear(window, camera, client, frame, *probe)) {
                clearing.values.push_back(*cleared);
            }
        }
    }

    std::vector<Figure> figures = {
        {"lookup (FindWindow)", {}},
        {"placement (query, twips, rectangle)", {}},
        {"off the screen (minimise + yield + wait until clear)", {}},
        {"  minimise", {}},
        {"  yield", {}},
        {"  wait until clear", {}},
        {"grab (CreateDC, BitBlt, GetDIBits)", {}},
        {"clipboard (open, empty, set, close)", {}},
        {"preview", {}},
        {"encode and write", {}},
        {"  write (create, write, close)", {}},
        {"restore (the call)", {}},
        {"capture stages (grab + clipboard + encode + write)", {}},
        {"click to saved file", {}},
        {"click to handler returned", {}},
        {"click to restored (window seen back on the screen)", {}},
    };
    const auto note = [&](std::size_t row, double value) { figures[row].values.push_back(value); };

    int faults = 0;
    int undoneRestores = 0;
    std::vector<Saved> saved;
    const Resources before = measureResources();
    std::optional<Resources> afterThousand;

    for (int shot = 0; shot < options.shots; ++shot) {
        const bool regular = options.soak ? shot % 2 == 0 : !options.small;
        if (options.soak) {
            chooseSize(window.window(), regular);
            PostMessageW(viewer, WM_KEYDOWN, VK_SPACE, 0);
            ++frame;
            const double deadline = nowMs() + 2000;
            while (frameOnScreen(client) != frame && nowMs() < deadline) {
                window.yieldToEvents();
                Sleep(1);
            }
        }
        log.clear();
        files.lastWritten.clear();
        const std::size_t messagesBefore = dialogs.messages.size();

        const double click = nowMs();
        form.Picture1_Click();
        const double returned = nowMs();
        const auto back = waitUntilBack(window, *probe);
        // The window must stay back: a window manager may still carry out the
        // minimise after the restore, which would leave the window minimised.
        bool undone = false;
        const double settleUntil = nowMs() + options.settleMs;
        while (nowMs() < settleUntil && !undone) {
            window.yieldToEvents();
            undone = IsIconic(window.window()) || !IsWindowVisible(window.window());
            Sleep(1);
        }
        if (undone) ++undoneRestores;

        if (!files.lastWritten.empty() && log.happened(Call::grab)) {
            const double captureStages = log.length(Call::grab) + log.length(Call::clipboard) +
                                         (log.endOf(Call::writeFile) - log.endOf(Call::grab));
            note(0, log.length(Call::findWindow));
            note(1, log.startOf(Call::minimise) - log.endOf(Call::findWindow));
            note(2, log.endOf(Call::waitUntilClear) - log.startOf(Call::minimise));
            note(3, log.length(Call::minimise));
            note(4, log.length(Call::yield));
            note(5, log.length(Call::waitUntilClear));
            note(6, log.length(Call::grab));
            note(7, log.length(Call::clipboard));
            note(8, log.length(Call::showPreview));
            note(9, log.endOf(Call::writeFile) - log.endOf(Call::grab));  // the file is encoded right after the grab
            note(10, log.length(Call::writeFile));
            note(11, log.length(Call::restore));
            note(12, captureStages);
            note(13, log.endOf(Call::writeFile) - click);
            note(14, returned - click);
            if (back) note(15, *back - click);
        }

        // The checks, outside the timed part.
        const char* fault = nullptr;
        const SIZE size = regular ? SIZE{regularSize.x, regularSize.y} : SIZE{smallSize.x, smallSize.y};
        const POINT corner{form.state().grabLeft, form.state().grabTop};
        if (dialogs.messages.size() != messagesBefore) {
            fault = "a message was shown";
        } else if (files.lastWritten.empty()) {
            fault = "no file was saved";
        } else if (undone) {
            fault = "the window was minimised again after it came back";
        } else if (!back) {
            RECT rect;
            GetWindowRect(window.window(), &rect);
            const auto pixel = Win32ScreenGrabber().grab({probe->x, probe->y, probe->x + 1, probe->y + 1},
                                                         DisplayForm::NoDevice);
            std::printf("shot %d: window %s, %s, at (%ld,%ld)-(%ld,%ld); the screen shows %06X at (%ld,%ld)\n", shot,
                        IsWindowVisible(window.window()) ? "visible" : "hidden",
                        IsIconic(window.window()) ? "minimised" : "not minimised", rect.left, rect.top, rect.right,
                        rect.bottom, pixel ? pixel->picture().at(0, 0) : 0u, probe->x, probe->y);
            fault = "the window did not come back within 2 s";
        } else {
            const auto picture = readPictureFile(files.lastWritten);
            if (!picture || picture->width != size.cx || picture->height != size.cy) {
                fault = "the file is not a picture of the camera's size";
            } else if (const std::size_t wrong = differencesFromViewer(*picture, corner, client, frame); wrong != 0) {
                std::printf("shot %d: %zu pixels differ from the viewer's frame %u\n", shot, wrong, frame);
                fault = "the picture is not what the viewer showed";
            }
        }
        if (fault) {
            ++faults;
            std::printf("FAULT in shot %d: %s%s%s\n", shot, fault, dialogs.messages.empty() ? "" : ": ",
                        dialogs.messages.empty() ? "" : narrow(dialogs.messages.back()).c_str());
            std::fflush(stdout);
            if (faults > 20) break;
        }
        if (!files.lastWritten.empty()) {
            if (options.soak) {
                saved.push_back({files.lastWritten, frame, corner, size});
            } else if (!options.keep) {
                DeleteFileW(files.lastWritten.c_str());
            }
        }
        if (shot + 1 == 1000) afterThousand = measureResources();
    }
    const Resources after = measureResources();

    if (!clearing.values.empty()) figures.push_back(std::move(clearing));
    std::printf("\n");
    printTable(figures);
    std::printf("\n| %-28s | %10s | %10s | %10s | %8s | %10s | %10s |\n", "resources", "GDI (sys)", "USER (sys)",
                "GDI (live)", "windows", "WS (KiB)", "private KiB");
    printResources("before the first snapshot", before);
    if (afterThousand) printResources("after 1000 snapshots", *afterThousand);
    printResources("after the last snapshot", after);
    std::printf("(sys: GetGuiResources; GDI live: live entries of the GDI handle table; windows: this process's "
                "windows; WS: working set; private: PrivateUsage, or the host's RssAnon where that is not counted)\n");
    std::printf("\nrestores undone by the window manager (the window minimised or hidden again after it came back): %d\n", undoneRestores);

    if (options.soak) {
        const int folderFaults = checkSoakFolder(folder, saved, client);
        std::printf("soak: %zu files saved, checked again at the end: %s\n", saved.size(),
                    folderFaults == 0 ? "all present, distinct, in order and unchanged" : "FAULTS (see above)");
        faults += folderFaults;
    }
    std::printf("%s: %d fault%s\n", faults == 0 ? "PASS" : "FAIL", faults, faults == 1 ? "" : "s");
    std::fflush(stdout);
    if (!options.keep) removeFolder(folder);
    return faults == 0 ? 0 : 1;
}
