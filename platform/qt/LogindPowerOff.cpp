#include "LogindPowerOff.h"

#include <QDBusConnection>
#include <QDBusMessage>

namespace bp {

namespace {

QDBusMessage callManager(const char* method, const QVariantList& arguments) {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        return QDBusMessage::createError(QStringLiteral("org.freedesktop.DBus.Error.NoServer"),
                                         bus.lastError().message());
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QString::fromLatin1(method));
    call.setArguments(arguments);
    return bus.call(call, QDBus::Block, LogindPowerOff::kTimeoutMs);
}

}  // namespace

bool LogindPowerOff::canPowerOff() {
    const QDBusMessage reply = callManager("CanPowerOff", {});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1) {
        return false;
    }
    const QString answer = reply.arguments().constFirst().toString();
    return answer == QLatin1String("yes") || answer == QLatin1String("challenge");
}

bool LogindPowerOff::powerOff() {
    // Interactive: when logind wants to ask the user first, it may.
    const QDBusMessage reply = callManager("PowerOff", {QVariant(true)});
    return reply.type() == QDBusMessage::ReplyMessage;
}

}  // namespace bp
