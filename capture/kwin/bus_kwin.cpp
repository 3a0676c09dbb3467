#include "capture/kwin/bus_kwin.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>

#include "capture/kwin/desktop_kwin.h"

namespace skl {

QDBusMessage callKWin(const QString& path, const QString& interface, const QString& method,
                      const QVariantList& arguments) {
    QDBusMessage call = QDBusMessage::createMethodCall(kwinService, path, interface, method);
    call.setArguments(arguments);
    return QDBusConnection::sessionBus().call(call, QDBus::Block, kwinCallMilliseconds);
}

QDBusPendingCall callKWinLater(const QString& path, const QString& interface, const QString& method,
                               const QVariantList& arguments) {
    QDBusMessage call = QDBusMessage::createMethodCall(kwinService, path, interface, method);
    call.setArguments(arguments);
    return QDBusConnection::sessionBus().asyncCall(call, kwinCallMilliseconds);
}

void tellKWin(const QString& path, const QString& interface, const QString& method, const QVariantList& arguments) {
    QDBusMessage call = QDBusMessage::createMethodCall(kwinService, path, interface, method);
    call.setArguments(arguments);
    call.setAutoStartService(false);
    QDBusConnection::sessionBus().send(call);
}

bool kwinAnswersOnSessionBus() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return false;
    const QDBusMessage reply = bus.call(
        QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                                       QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"))
            << kwinService,
        QDBus::Block, kwinCallMilliseconds);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           reply.arguments().constFirst().toBool();
}

}  // namespace skl
