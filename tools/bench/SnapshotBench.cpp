#include "tools/bench/SnapshotBench.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <system_error>

#include "capture/Snapshot.h"
#include "tools/bench/BenchPorts.h"
#include "tools/bench/ScreenWatch.h"
#include "tools/bench/SoakFolder.h"
#include "tools/bench/Stopwatch.h"

namespace skl::bench {
namespace {

std::optional<long> parsedNumber(const Text& text, long minimum) {
    if (text.empty()) return std::nullopt;
    wchar_t* end = nullptr;
    const long value = std::wcstol(text.c_str(), &end, 10);
    if (*end != L'\0' || value < minimum) return std::nullopt;
    return value;
}

// Makes room for `count` elements and writes it once, so that filling it later
// takes no new memory from the system.
template <typename Element>
void reserveWritten(std::vector<Element>& elements, int count) {
    elements.resize(static_cast<std::size_t>(count));
    elements.clear();
}

// The window system's own times to clear the camera rectangle, over a number of tries.
std::vector<Figure> clearingFigures(ScreenWatch& watch, const ScreenRect& camera, const ViewerClient& client,
                                    std::uint32_t frame, ScreenPoint probe, int tries) {
    std::vector<Figure> figures = {{"window system: area first clear (from the leave)", {}},
                                   {"window system: area clear for good (floor, from the leave)", {}},
                                   {"window system: window off the screen (from the leave)", {}}};
    for (int i = 0; i < tries; ++i) {
        if (const auto cleared = watch.timeToClear(camera, client, frame, probe)) {
            figures[0].values.push_back(cleared->firstClear);
            figures[1].values.push_back(cleared->clearForGood);
            figures[2].values.push_back(cleared->offScreen);
        }
    }
    return figures;
}

// What is wrong with a saved picture: taken elsewhere than at the camera, not of
// its size, or not what the viewer showed; nothing when it is right.
const char* pictureFault(int shot, const Text& path, const Shot& expected, ScreenPoint cameraCorner,
                         const ViewerClient& client) {
    if (expected.corner != cameraCorner) {
        std::printf("shot %d: taken at (%d,%d), the camera's corner is at (%d,%d)\n", shot, expected.corner.x,
                    expected.corner.y, cameraCorner.x, cameraCorner.y);
        return "the picture was not taken at the camera rectangle";
    }
    const auto picture = readPictureFile(path);
    if (!picture || picture->width != expected.size.x || picture->height != expected.size.y) {
        return "the file is not a picture of the camera's size";
    }
    if (const std::size_t wrong = differencesFromViewer(*picture, expected.corner, client, expected.frame); wrong != 0) {
        std::printf("shot %d: %zu pixels differ from the viewer's frame %u\n", shot, wrong, expected.frame);
        return "the picture is not what the viewer showed";
    }
    return nullptr;
}

// The rows of the timing table.
enum class Row {
    lookup, placement, leave, yield, waitUntilClear, grab, clipboard, preview, encodeAndWrite, write, comeBack,
    captureStages, clickToFile, clickToReturned, clickToBack
};

std::vector<Figure> timingRows() {
    return {
        {"lookup (the viewer by its title)", {}},
        {"placement (query, twips, rectangle)", {}},
        {"leave (the call)", {}},
        {"yield", {}},
        {"wait until clear (the window over the camera)", {}},
        {"grab", {}},
        {"clipboard hand-off", {}},
        {"preview", {}},
        {"encode and write", {}},
        {"  write (create, write, close)", {}},
        {"come back (until the window is back)", {}},
        {"capture stages (grab + encode + write + clipboard)", {}},
        {"click to saved file", {}},
        {"click to handler returned", {}},
        {"click to restored (window seen back on the screen)", {}},
    };
}

// The stages of one shot from its log, in the rows of the table.
void noteShot(std::vector<Figure>& figures, const ShotLog& log, double click, double returned,
              const std::optional<double>& back) {
    const auto note = [&](Row row, double value) { figures[static_cast<std::size_t>(row)].values.push_back(value); };
    note(Row::lookup, log.length(Call::findWindow));
    note(Row::placement, log.length(Call::restoredCorner));
    note(Row::leave, log.length(Call::leave));
    note(Row::yield, log.length(Call::yield));
    // Over the camera the grab that is saved comes after the leave; the reads of
    // the area before it are part of the wait.
    const bool grabbedFirst = log.lastStartOf(Call::grab) < log.startOf(Call::leave);
    note(Row::waitUntilClear, grabbedFirst ? 0 : log.lastStartOf(Call::grab) - log.endOf(Call::yield));
    note(Row::grab, log.lastLength(Call::grab));
    note(Row::clipboard, log.length(Call::clipboard));
    note(Row::preview, log.length(Call::showPreview));
    // The file is encoded right after the grab.
    note(Row::encodeAndWrite, log.endOf(Call::writeFile) - log.endOf(Call::grab));
    note(Row::write, log.length(Call::writeFile));
    note(Row::comeBack, log.length(Call::comeBack));
    note(Row::captureStages, log.lastLength(Call::grab) + log.length(Call::clipboard) +
                            (log.endOf(Call::writeFile) - log.endOf(Call::grab)));
    note(Row::clickToFile, log.endOf(Call::writeFile) - click);
    note(Row::clickToReturned, returned - click);
    if (back) note(Row::clickToBack, *back - click);
}

}  // namespace

std::optional<Options> parseOptions(const std::vector<Text>& arguments) {
    if (arguments.empty()) return std::nullopt;
    Options options;
    options.id = arguments[0];
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const Text& flag = arguments[i];
        const auto number = [&](long minimum) -> std::optional<long> {
            if (i + 1 >= arguments.size()) return std::nullopt;
            return parsedNumber(arguments[++i], minimum);
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
            if (!value || *value > 1'000'000) return std::nullopt;
            options.shots = static_cast<int>(*value);
        } else if (flag == L"--frame") {
            const auto value = number(0);
            if (!value || *value > 65535) return std::nullopt;
            options.frame = static_cast<std::uint32_t>(*value);
        } else if (flag == L"--settle") {
            const auto value = number(0);
            if (!value || *value > 60'000) return std::nullopt;
            options.settleMs = static_cast<int>(*value);
        } else {
            return std::nullopt;
        }
    }
    return options;
}

int runSnapshotBench(const Options& options, BenchDesktop& desktop) {
    const Form1Ports real = desktop.ports();
    const BenchFolder folder(options.keep);

    ShotLog log;
    TimedView view(real.view, log);
    TimedWindowLookup windows(real.capture.windows, log);
    TimedGrabber grabber(real.capture.grabber, log);
    TimedClipboard clipboard(real.capture.clipboard, log);
    TimedFileStore files(real.capture.files, log);
    TimedStepAside aside(real.capture.aside, log);
    ScriptedDialogs dialogs(options.id);
    BenchFolders specialFolders(folder.path().wstring());
    Form1 form(Form1Ports{real.folderSeparator, real.family, view,
                          CapturePorts{view, aside, windows, real.capture.screen, grabber, clipboard, files,
                                       real.capture.clock, dialogs},
                          specialFolders, real.topmost, real.folderDialog, real.shell});
    ScreenWatch watch(desktop, real.view, real.capture.aside, real.capture.grabber, real.capture.clock);
    desktop.attach(form);
    form.Form_Load();
    desktop.show();
    watch.pumpFor(300);

    const ScreenPoint viewerCorner = desktop.viewerFrameCorner();
    const ScreenPoint cameraCorner{viewerCorner.x + cameraOffset.x, viewerCorner.y + cameraOffset.y};
    const ScreenRect camera{cameraCorner.x, cameraCorner.y, cameraCorner.x + regularSize.x,
                            cameraCorner.y + regularSize.y};
    if (options.overlap) {
        // The window's corner a third of the way into the camera rectangle.
        desktop.moveWindow({camera.left + regularSize.x / 3, camera.top + regularSize.y / 3});
        watch.pumpFor(300);
    }
    const ScreenRect own = desktop.windowFrame();
    const std::optional<ScreenRect> overlap = intersection(own, camera);

    form.newcam_MouseDown();
    form.newcam_MouseUp();
    if (options.small && !desktop.chooseSize(false)) {
        std::fprintf(stderr, "no Small Size option found\n");
        return 2;
    }
    watch.pumpFor(100);
    const auto probe = watch.backgroundPoint(overlap);
    if (!probe) {
        std::fprintf(stderr, "the window's background does not show on the screen\n");
        return 2;
    }
    const ViewerClient client = desktop.viewerClient();
    std::uint32_t frame = options.frame;

    std::printf("snapshot_bench: %d shots of \"%s%s\", %s, %s; window at (%d,%d)-(%d,%d), camera rectangle "
                "(%d,%d)-(%d,%d), %s\n",
                options.shots, narrow(texts::viewerTitlePrefix).c_str(), narrow(options.id).c_str(),
                desktop.edition().c_str(),
                options.soak ? "sizes alternating, a new frame every shot" : options.small ? "Small Size" : "Regular Size",
                own.left, own.top, own.right, own.bottom, camera.left, camera.top, camera.right, camera.bottom,
                overlap ? "overlapping" : "not overlapping");
    std::fflush(stdout);

    std::vector<Figure> figures = timingRows();
    std::vector<Shot> shots;
    // Room for every shot's records, written once now: the benchmark's own records
    // must not show as growth in the process's memory.
    for (Figure& figure : figures) reserveWritten(figure.values, options.shots);
    if (options.soak) reserveWritten(shots, options.shots);
    int faults = 0;
    int leftAgainCount = 0;
    std::vector<std::pair<std::string, Resources>> resources = {{"before the first snapshot", desktop.measureResources()}};

    for (int shot = 0; shot < options.shots; ++shot) {
        const bool regular = options.soak ? shot % 2 == 0 : !options.small;
        if (options.soak) {
            desktop.chooseSize(regular);
            desktop.advanceViewerFrame();
            ++frame;
            watch.pumpUntil([&] { return frameOnScreen(real.capture.grabber, client) == frame; }, 2000);
        }
        log.clear();
        files.lastWritten.clear();
        const std::size_t messagesBefore = dialogs.messages.size();

        const double click = nowMs();
        form.Picture1_Click();
        const double returned = nowMs();
        const auto back = watch.waitUntilBack(*probe);
        // The window must stay back: a window manager may still carry out the
        // minimise after the restore, which would leave the window minimised, or
        // take it off the screen for a moment.
        const bool leftAgain = back && watch.pumpUntil([&] { return !desktop.windowShown(); }, options.settleMs);
        const double leftAt = nowMs();
        const bool undone = leftAgain && !watch.waitUntilBack(*probe);
        if (leftAgain) {
            ++leftAgainCount;
            std::printf("shot %d: the window left the screen again %.1f ms after it was back%s\n", shot, leftAt - *back,
                        undone ? " and stayed away for 2 s" : ", and returned by itself");
        }

        if (!files.lastWritten.empty() && log.happened(Call::grab)) noteShot(figures, log, click, returned, back);

        // The checks, outside the timed part.
        const char* fault = nullptr;
        const Shot taken{frame, {form.state().grabLeft, form.state().grabTop}, regular ? regularSize : smallSize};
        if (dialogs.messages.size() != messagesBefore) {
            fault = "a message was shown";
        } else if (files.lastWritten.empty()) {
            fault = "no file was saved";
        } else if (undone) {
            fault = "the window was minimised again after it came back";
        } else if (!back) {
            const ScreenRect rect = desktop.windowFrame();
            std::printf("shot %d: window %s, at (%d,%d)-(%d,%d); the screen shows %06X at (%d,%d)\n", shot,
                        desktop.windowShown() ? "shown" : "not shown", rect.left, rect.top, rect.right, rect.bottom,
                        watch.pixelAt(*probe).value_or(0), probe->x, probe->y);
            fault = "the window did not come back within 2 s";
        } else {
            fault = pictureFault(shot, files.lastWritten, taken, cameraCorner, client);
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
                shots.push_back(taken);
            } else if (!options.keep) {
                std::error_code ignored;
                std::filesystem::remove(std::filesystem::path(files.lastWritten), ignored);
            }
        }
        if (shot + 1 == 1000) resources.emplace_back("after 1000 snapshots", desktop.measureResources());
    }
    resources.emplace_back("after the last snapshot", desktop.measureResources());

    // Without the command around it, for comparison with the command's own wait.
    // After the shots: a hundred minimises that run their course first leave the
    // window system slower to minimise under Wine (2.4 ms becomes 11 ms).
    if (overlap) {
        const std::vector<Figure> clearing =
            clearingFigures(watch, camera, client, frame, *probe, std::min(options.shots, 100));
        figures.insert(figures.end(), clearing.begin(), clearing.end());
    }
    std::printf("\n");
    printTable(figures);
    std::printf("\n");
    printResources(resources, desktop.resourceLegend());
    std::printf("\nthe window left the screen again after it came back: %d time%s (a fault where it stayed away)\n",
                leftAgainCount, leftAgainCount == 1 ? "" : "s");

    if (options.soak) {
        const int folderFaults = checkSoakFolder(folder.path(), shots, client);
        std::printf("soak: %zu files saved, checked again at the end: %s\n", shots.size(),
                    folderFaults == 0 ? "all present, distinct, in order and unchanged" : "FAULTS (see above)");
        faults += folderFaults;
    }
    std::printf("%s: %d fault%s\n", faults == 0 ? "PASS" : "FAIL", faults, faults == 1 ? "" : "s");
    std::fflush(stdout);
    return faults == 0 ? 0 : 1;
}

}  // namespace skl::bench
