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

// Why a call failed: the bus itself, logind missing, or logind's own error.
std::string callProblem(const QDBusMessage& reply) {
    if (reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.NoServer")) {
        return "the system bus cannot be reached";
    }
    if (reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown")) {
        return "logind, the system's power service, is not running";
    }
    const QString detail =
        reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage();
    return "logind answered with an error (" + detail.toStdString() + ")";
}

}  // namespace

bool LogindPowerOff::canPowerOff() {
    const QDBusMessage reply = callManager("CanPowerOff", {});
    problem_.clear();
    if (reply.type() != QDBusMessage::ReplyMessage) {
        problem_ = callProblem(reply);
        return false;
    }
    if (reply.arguments().size() != 1) {
        problem_ = "logind gave an answer that cannot be read";
        return false;
    }
    const QString answer = reply.arguments().constFirst().toString();
    if (answer == QLatin1String("yes") || answer == QLatin1String("challenge")) {
        return true;
    }
    if (answer == QLatin1String("na")) {
        problem_ = "logind says switching off is not available on this system";
    } else {
        problem_ = "logind does not allow this user to switch the computer off (it answered \"" +
                   answer.toStdString() + "\")";
    }
    return false;
}

bool LogindPowerOff::powerOff() {
    // Interactive: when logind wants to ask the user first, it may.
    const QDBusMessage reply = callManager("PowerOff", {QVariant(true)});
    problem_.clear();
    if (reply.type() != QDBusMessage::ReplyMessage) {
        problem_ = callProblem(reply);
        return false;
    }
    return true;
}

}  // namespace bp
