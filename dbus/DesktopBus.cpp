#include "DesktopBus.h"

#include <QDBusConnectionInterface>

#include <cstdio>

namespace bp {

DesktopBus::DesktopBus(INoteScripting& scripting, QDBusConnection connection)
    : connection_(std::move(connection)), service_(scripting) {}

DesktopBus::~DesktopBus() {
    if (ownsName_) {
        connection_.unregisterService(QString::fromLatin1(kServiceName));
    }
    if (exported_) {
        connection_.unregisterObject(QString::fromLatin1(kObjectPath));
    }
}

bool DesktopBus::start() {
    if (!connection_.isConnected()) {
        std::fprintf(
            stderr,
            "brightpost: no D-Bus session bus, so scripts cannot reach this copy through it\n");
        return false;
    }
    exported_ = connection_.registerObject(QString::fromLatin1(kObjectPath), &service_,
                                           QDBusConnection::ExportAdaptors);
    if (!exported_) {
        std::fprintf(stderr, "brightpost: could not put its object on the D-Bus session bus\n");
        return false;
    }
    QDBusConnectionInterface* bus = connection_.interface();
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply = bus->registerService(
        QString::fromLatin1(kServiceName), QDBusConnectionInterface::DontQueueService,
        QDBusConnectionInterface::DontAllowReplacement);
    ownsName_ = reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered;
    if (!ownsName_) {
        std::fprintf(stderr,
                     "brightpost: another copy answers to %s on the session bus; scripts reach "
                     "that one\n",
                     kServiceName);
    }
    return ownsName_;
}

bool DesktopBus::registerObject(const QString& path, QObject* object,
                                QDBusConnection::RegisterOptions options) {
    if (!connection_.isConnected() ||
        !path.startsWith(QString::fromLatin1(kObjectPath) + QLatin1Char('/'))) {
        return false;
    }
    return connection_.registerObject(path, object, options);
}

}  // namespace bp
