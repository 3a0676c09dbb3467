#include "capture/windowlist_kwin.h"

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include "capture/bus_kwin.h"
#include "capture/desktop_kwin.h"

namespace skl {
namespace {

const QString reportPath = QStringLiteral("/WindowList");
const QString reportInterface = QStringLiteral("local.MorvathsSkellimor.WindowList");
const QString scriptingInterface = QStringLiteral("org.kde.kwin.Scripting");
const QString scriptInterface = QStringLiteral("org.kde.kwin.Script");

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
               "                buffer: [w.bufferGeometry.x, w.bufferGeometry.y], x11: w.windowId || 0});\n"
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

    const QDBusMessage loaded =
        callKWin(QStringLiteral("/Scripting"), scriptingInterface, QStringLiteral("loadScript"), {path, name});
    const int id = loaded.type() == QDBusMessage::ReplyMessage && !loaded.arguments().isEmpty()
                       ? loaded.arguments().constFirst().toInt()
                       : -1;
    if (id >= 0) {
        // KWin 5 puts the script at /<id>, KWin 6 at /Scripting/Script<id>.
        const QDBusMessage ran = callKWin(QLatin1Char('/') + QString::number(id), scriptInterface,
                                          QStringLiteral("run"), {});
        if (ran.type() == QDBusMessage::ErrorMessage) {
            callKWin(QStringLiteral("/Scripting/Script") + QString::number(id), scriptInterface,
                     QStringLiteral("run"), {});
        }
        const qint64 left = kwinCallMilliseconds - started.elapsed();
        if (!receiver_->answer && left > 0) {
            QEventLoop loop;
            QTimer::singleShot(static_cast<int>(left), &loop, &QEventLoop::quit);
            receiver_->loop = &loop;
            // The user's clicks wait: the snapshot that asked is not over.
            loop.exec(QEventLoop::ExcludeUserInputEvents);
            receiver_->loop = nullptr;
        }
    }
    tellKWin(QStringLiteral("/Scripting"), scriptingInterface, QStringLiteral("unloadScript"), {name});
    receiver_->expected.clear();
    QFile::remove(path);
    return std::exchange(receiver_->answer, std::nullopt);
}

}  // namespace skl
