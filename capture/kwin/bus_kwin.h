#pragma once
// Calls to KWin on the session bus, each answered within kwinCallMilliseconds.

#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QString>
#include <QVariantList>

namespace skl {

inline const QString kwinService = QStringLiteral("org.kde.KWin");

// The reply to the method call, or the error that came instead (a timeout
// included). Blocks without running the program's event loop.
QDBusMessage callKWin(const QString& path, const QString& interface, const QString& method,
                      const QVariantList& arguments);

// Sends the call; its reply comes later, or an error after kwinCallMilliseconds.
QDBusPendingCall callKWinLater(const QString& path, const QString& interface, const QString& method,
                               const QVariantList& arguments);

// Sends the call and does not wait for its reply.
void tellKWin(const QString& path, const QString& interface, const QString& method, const QVariantList& arguments);

}  // namespace skl
