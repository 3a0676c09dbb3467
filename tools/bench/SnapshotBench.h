#pragma once
// Times the snapshot command on the real main window and the real desktop: every
// port the command uses is wrapped in a decorator that notes when each call begins
// and ends, the input box answers the viewer's ID and message boxes are recorded
// instead of shown. One New Cam, then N snapshots through the smiley's handler,
// each followed by pumping the window's events until it is back on the screen.
// Every saved picture is checked pixel for pixel against the sample viewer's test
// picture, so the program's own window can never be in it unnoticed.
//
//   snapshot_bench ID [--shots N] [--overlap] [--small] [--soak] [--frame F]
//                     [--settle MS] [--keep]
//
// --overlap  puts the program's window over the viewer's camera rectangle first,
//            and times how long the window system itself takes to clear it
// --small    chooses Small Size (162 x 122) instead of Regular Size
// --soak     alternates the two sizes, makes the viewer show a new frame before
//            every shot (a key press) and keeps every file until the end, where
//            all of them are checked again: present, distinct, named in order
// --frame    the frame the viewer shows at the start (default 0)
// --settle   milliseconds of event pumping after the window is back (default 30)
// --keep     leaves the saved files in the temporary folder
//
// Exit code 0 when every shot saved a correct picture, 1 otherwise, 2 on bad use.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/bench/Figures.h"
#include "tools/bench/ViewerPicture.h"
#include "window/Form1.h"

namespace skl::bench {

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

// From the arguments after the program's name; nothing when they are not understood.
std::optional<Options> parseOptions(const std::vector<Text>& arguments);

inline constexpr const char* usage =
    "usage: snapshot_bench ID [--shots N] [--overlap] [--small] [--soak] [--frame F] [--settle MS] [--keep]\n";

// What the benchmark needs of the platform beyond the handlers' ports: the real
// window and desktop, and the means to look at them and at the sample viewer.
class BenchDesktop {
public:
    virtual ~BenchDesktop() = default;

    // A line on what runs: the edition and build.
    virtual std::string edition() = 0;
    // The real window and desktop, as the program hands them to its handlers.
    virtual Form1Ports ports() = 0;
    // Routes the window's events to the handlers.
    virtual void attach(Form1& form) = 0;
    // Shows the window as the program does at start.
    virtual void show() = 0;

    // The window's outer frame, and its client area, on the screen.
    virtual ScreenRect windowFrame() = 0;
    virtual ScreenRect windowClient() = 0;
    // Moves the window's outer frame corner there.
    virtual void moveWindow(ScreenPoint corner) = 0;
    // The window is shown and not minimised.
    virtual bool windowShown() = 0;
    // Nothing of the window shows on the screen any more, its frame included
    // (which a window manager may still animate after the window has gone).
    virtual bool windowOffScreen() = 0;
    // Clicks the size option, as a user would; false when there is none.
    virtual bool chooseSize(bool regular) = 0;

    // The corner of the viewer's outer frame, read independently of the program.
    virtual ScreenPoint viewerFrameCorner() = 0;
    virtual ViewerClient viewerClient() = 0;
    // Has the viewer show its next frame.
    virtual void advanceViewerFrame() = 0;

    // What the process holds now, and a line on what the columns count.
    virtual Resources measureResources() = 0;
    virtual std::string resourceLegend() = 0;
};

int runSnapshotBench(const Options& options, BenchDesktop& desktop);

}  // namespace skl::bench
