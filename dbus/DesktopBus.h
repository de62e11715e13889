#pragma once

#include "NoteBusService.h"

#include <QDBusConnection>
#include <QString>

namespace bp {

class INoteScripting;

// The running copy on the session bus: the notes' object at /org/brightpost/Brightpost and the
// name org.brightpost.Brightpost, which a call to it also starts Brightpost by. The name is one
// per session, so a second copy on another data folder goes without it (its objects are still
// there by its unique name). Other objects of the program go under the main object's path on
// the same connection.
class DesktopBus {
public:
    static constexpr const char* kServiceName = "org.brightpost.Brightpost";
    static constexpr const char* kObjectPath = "/org/brightpost/Brightpost";

    DesktopBus(INoteScripting& scripting, QDBusConnection connection);
    ~DesktopBus();
    DesktopBus(const DesktopBus&) = delete;
    DesktopBus& operator=(const DesktopBus&) = delete;

    // Exports the notes' object, then asks for the name, so that a caller who sees the name
    // finds the object. Says in one line on standard error why scripts cannot reach this copy
    // by the name (no session bus, or another copy has it); the program runs on either way.
    bool start();
    bool ownsName() const { return ownsName_; }

    // Another object of the program, at a path under the main object's.
    bool registerObject(const QString& path, QObject* object,
                        QDBusConnection::RegisterOptions options);
    QDBusConnection connection() const { return connection_; }

private:
    QDBusConnection connection_;
    NoteBusService service_;
    bool exported_ = false;
    bool ownsName_ = false;
};

}  // namespace bp
