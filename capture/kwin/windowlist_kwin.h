#pragma once
// KWin's list of its windows, read by a short script that KWin runs and that
// sends the list back to the program over the session bus.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <memory>
#include <optional>

namespace skl {

class KWinWindowList {
public:
    KWinWindowList();
    ~KWinWindowList();
    KWinWindowList(const KWinWindowList&) = delete;
    KWinWindowList& operator=(const KWinWindowList&) = delete;

    // Every window KWin manages, as a JSON array of objects: "caption", "id"
    // (KWin's UUID of it), "frame" and "buffer" (their corners, [x, y]), "size"
    // (the buffer's, [width, height]), "x11"
    // (its X window, 0 for a native one) and "minimized". Nothing when KWin has not sent it within
    // kwinCallMilliseconds.
    std::optional<QByteArray> read();

private:
    class Receiver;

    std::unique_ptr<Receiver> receiver_;
    QTemporaryDir folder_;
    std::uint64_t serial_ = 0;
};

}  // namespace skl
