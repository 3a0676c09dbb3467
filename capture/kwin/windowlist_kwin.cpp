#include "capture/kwin/windowlist_kwin.h"

#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVirtualObject>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include "capture/kwin/desktop_kwin.h"

namespace skl {
namespace {

const QString reportPath = QStringLiteral("/WindowList");
const QString reportInterface = QStringLiteral("local.MorvathsSkellimor.WindowList");
const QString scriptingInterface = QStringLiteral("org.kde.kwin.Scripting");

// The script of one reading. KWin runs it at its own pace, so each reading has a
// number of its own, and a late answer to an earlier one is not taken for it.
QByteArray scriptText(const QString& service, std::uint64_t serial) {
    return QStringLiteral(
               "var all = workspace.windowList ? workspace.windowList() : workspace.clientList();\n"
               "var found = [];\n"
               "for (var i = 0; i < all.length; ++i) {\n"
               "    var w = all[i];\n"
               "    found.push({caption: String(w.caption), id: String(w.internalId),\n"
               "                frame: [w.frameGeometry.x, w.frameGeometry.y],\n"
               "                buffer: [w.bufferGeometry.x, w.bufferGeometry.y],\n"
               "                size: [w.bufferGeometry.width, w.bufferGeometry.height], x11: w.windowId || 0,\n"
               "                minimized: !!w.minimized});\n"
               "}\n"
               "callDBus(\"%1\", \"%2\", \"%3\", \"report\", \"%4\", JSON.stringify(found));\n")
        .arg(service, reportPath, reportInterface, QString::number(serial))
        .toUtf8();
}

}  // namespace

// Takes the script's answer: the bus delivers it through the event loop.
class KWinWindowList::Receiver final : public QDBusVirtualObject {
public:
    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.interface() != reportInterface || message.member() != QLatin1String("report")) return false;
        const QVariantList arguments = message.arguments();
        if (arguments.size() == 2 && arguments[0].toString() == expected) {
            answer = arguments[1].toString().toUtf8();
            if (loop != nullptr) loop->quit();
        }
        connection.send(message.createReply());
        return true;
    }

    QString expected;
    std::optional<QByteArray> answer;
    QEventLoop* loop = nullptr;
};

KWinWindowList::KWinWindowList() : receiver_(std::make_unique<Receiver>()) {
    QDBusConnection::sessionBus().registerVirtualObject(reportPath, receiver_.get());
}

KWinWindowList::~KWinWindowList() {
    QDBusConnection::sessionBus().unregisterObject(reportPath);
}

std::optional<QByteArray> KWinWindowList::read() {
    if (!folder_.isValid()) return std::nullopt;
    QElapsedTimer started;
    started.start();
    const QString serial = QString::number(++serial_);
    const QString name = QStringLiteral("morvaths-skellimor-windows-") + serial;
    const QString path = folder_.filePath(name + QStringLiteral(".js"));
    {
        QFile script(path);
        if (!script.open(QIODevice::WriteOnly | QIODevice::Truncate)) return std::nullopt;
        script.write(scriptText(QDBusConnection::sessionBus().baseService(), serial_));
    }
    receiver_->expected = serial;
    receiver_->answer.reset();

    // The script is loaded and started in one go: KWin takes the two calls in the
    // order they were sent, and the list comes back once the script has run.
    QDBusPendingCallWatcher loaded(
        callKWinLater(QStringLiteral("/Scripting"), scriptingInterface, QStringLiteral("loadScript"), {path, name}));
    callKWinLater(QStringLiteral("/Scripting"), scriptingInterface, QStringLiteral("start"), {});
    const qint64 left = kwinCallMilliseconds - started.elapsed();
    if (left > 0) {
        QEventLoop loop;
        QTimer::singleShot(static_cast<int>(left), &loop, &QEventLoop::quit);
        // A script KWin would not load never answers.
        QObject::connect(&loaded, &QDBusPendingCallWatcher::finished, &loop, [&loop](QDBusPendingCallWatcher* call) {
            const QDBusPendingReply<int> id = *call;
            if (id.isError() || id.value() < 0) loop.quit();
        });
        receiver_->loop = &loop;
        // The user's clicks wait: the snapshot that asked is not over.
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        receiver_->loop = nullptr;
    }
    tellKWin(QStringLiteral("/Scripting"), scriptingInterface, QStringLiteral("unloadScript"), {name});
    receiver_->expected.clear();
    QFile::remove(path);
    return std::exchange(receiver_->answer, std::nullopt);
}

}  // namespace skl
