// One rectangle of a KDE Plasma session's screen through KWin's screenshots, the
// way the Linux edition calls them: for the tests, which have no other way to look
// at a Wayland session's screen, and for the benchmark, which times the bare call.
//
//   kwin_grab X Y WIDTH HEIGHT [--repeat N]
//
// Writes the (last) picture to standard output as a PPM file and, with --repeat,
// the milliseconds of each call to standard error, one a line. KWin gives pictures
// only to a program that a desktop entry names by its whole path.

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "capture/kwin/desktop_kwin.h"
#include "capture/kwin/screenshot_kwin.h"

int main(int argc, char** argv) {
    using namespace skl;
    if (argc != 5 && !(argc == 7 && std::string(argv[5]) == "--repeat")) {
        std::fputs("usage: kwin_grab X Y WIDTH HEIGHT [--repeat N]\n", stderr);
        return 2;
    }
    QCoreApplication application(argc, argv);
    const std::int32_t x = std::atoi(argv[1]);
    const std::int32_t y = std::atoi(argv[2]);
    const ScreenRect rect{x, y, x + std::atoi(argv[3]), y + std::atoi(argv[4])};
    const int repeat = argc == 7 ? std::max(1, std::atoi(argv[6])) : 1;

    const XcbConnection connection;
    const KWinWindowTable table;
    KWinWindowCaptures captures;
    KWinScreenGrabber grabber(connection, table, captures);
    GrabResult result;
    for (int i = 0; i < repeat; ++i) {
        QElapsedTimer timer;
        timer.start();
        result = grabber.grab(rect);
        if (argc == 7) std::fprintf(stderr, "%.3f\n", static_cast<double>(timer.nsecsElapsed()) / 1e6);
        if (!result.bitmap) {
            std::fprintf(stderr, "kwin_grab: %ls\n", result.failure.c_str());
            return 1;
        }
    }
    const Picture& picture = result.bitmap->picture();
    std::printf("P6\n%d %d\n255\n", picture.width, picture.height);
    std::vector<unsigned char> row(static_cast<std::size_t>(picture.width) * 3);
    for (std::int32_t py = 0; py < picture.height; ++py) {
        for (std::int32_t px = 0; px < picture.width; ++px) {
            const std::uint32_t c = picture.at(px, py);
            row[px * 3] = static_cast<unsigned char>(c >> 16);
            row[px * 3 + 1] = static_cast<unsigned char>(c >> 8);
            row[px * 3 + 2] = static_cast<unsigned char>(c);
        }
        std::fwrite(row.data(), 1, row.size(), stdout);
    }
    return 0;
}
