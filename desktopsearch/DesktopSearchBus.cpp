#include "DesktopSearchBus.h"

#include "LauncherRunner.h"
#include "ShellSearchProvider.h"

#include <QDBusError>
#include <QtDebug>

namespace bp {

namespace {

bool put(QDBusConnection& connection, const char* path, QObject* object) {
    if (connection.registerObject(QString::fromLatin1(path), object,
                                  QDBusConnection::ExportAllSlots)) {
        return true;
    }
    qWarning().noquote() << "Brightpost: the desktop's search cannot reach the notes at" << path
                         << "on the session bus:" << connection.lastError().message();
    delete object;
    return false;
}

}  // namespace

bool registerDesktopSearch(QDBusConnection connection, INoteScripting& notes, QObject* owner) {
    // Without a session bus there is nobody to answer; whoever owns the connection says so.
    if (!connection.isConnected()) {
        return false;
    }
    ShellSearchProvider::registerTypes();
    LauncherRunner::registerTypes();
    const bool provider =
        put(connection, kShellSearchProviderPath, new ShellSearchProvider(notes, owner));
    const bool runner = put(connection, kLauncherRunnerPath, new LauncherRunner(notes, owner));
    return provider && runner;
}

}  // namespace bp
