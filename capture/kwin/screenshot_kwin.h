#pragma once
// Calls to KWin's screenshot interface: each passes a pipe's write end, through
// which KWin sends the picture after its reply. A call may be sent ahead, before
// the program knows it needs the picture, and finished later.

#include <QDBusPendingCall>
#include <QElapsedTimer>
#include <QString>
#include <QVariantList>
#include <QVariantMap>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "capture/Text.h"
#include "capture/WindowImage.h"
#include "capture/posix/descriptor_posix.h"

namespace skl {

// A picture KWin sent, or why there is none (errorName: KWin's name of its refusal).
struct KWinPicture {
    RawImageLayout layout;
    std::vector<std::uint8_t> bytes;
    QString errorName;
    Text failure;
};

class KWinScreenshot {
public:
    // Sends the call: the arguments before the pipe, then the options and the pipe.
    KWinScreenshot(const QString& method, QVariantList arguments, const QVariantMap& options);
    KWinScreenshot(const KWinScreenshot&) = delete;
    KWinScreenshot& operator=(const KWinScreenshot&) = delete;

    // Waits for the reply and the picture, each at most kwinCallMilliseconds.
    KWinPicture finish();

private:
    std::optional<FileDescriptor> readEnd_;
    std::optional<QDBusPendingCall> call_;
};

// The viewer's own picture through KWin, and the one picture asked for ahead: a
// lookup of the viewer found before asks for its picture while KWin lists its
// windows, so that the picture is on its way when the lookup ends.
class KWinWindowCaptures {
public:
    // Asks for the window's picture now, dropping one asked for earlier; nothing
    // happens once KWin has refused.
    void askAhead(const std::string& window);
    // The window's picture: the one asked for ahead where it is this window's,
    // else asked for now (another window's asked for ahead is dropped).
    KWinPicture pictureOf(const std::string& window);
    // Ends a picture asked for ahead that will not be needed.
    void dropAhead();

    bool refused() const { return refused_; }
    void noteRefusal() { refused_ = true; }

private:
    std::unique_ptr<KWinScreenshot> ahead_;
    std::string aheadOf_;
    bool refused_ = false;
};

}  // namespace skl
