#include "SingleInstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

#include <unistd.h>

namespace bp {

SingleInstance::SingleInstance(QString runtimeFolder, QObject* parent)
    : QObject(parent), runtimeFolder_(std::move(runtimeFolder)) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultRuntimeFolder() {
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty() || !QDir(folder).exists()) {
        folder = QDir::tempPath();
    }
    return folder;
}

QString SingleInstance::serverName() const {
    // The uid in the name keeps users apart when the folder is shared (as /tmp is).
    return runtimeFolder_ + QStringLiteral("/brightpost-%1.socket").arg(getuid());
}

bool SingleInstance::acquire() {
    const QString lockPath = runtimeFolder_ + QStringLiteral("/brightpost-%1.lock").arg(getuid());
    lock_ = std::make_unique<QLockFile>(lockPath);
    // Only a living holder counts; an old lock of a crashed copy is removed by tryLock.
    lock_->setStaleLockTime(0);
    if (!lock_->tryLock(0)) {
        lock_.reset();
        return false;
    }
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(serverName());
    if (!server_->listen(serverName())) {
        qWarning("Brightpost: cannot listen on %s: %s", qPrintable(serverName()),
                 qPrintable(server_->errorString()));
    }
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
    return true;
}

void SingleInstance::acceptConnections() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            while (socket->canReadLine()) {
                QByteArray line = socket->readLine().trimmed();
                // Acknowledge first: the request may open a modal menu or end the program.
                socket->write("ok\n");
                socket->flush();
                emit requestReceived(line);
            }
        });
    }
}

bool SingleInstance::sendToRunningCopy(const QByteArray& request, int timeoutMs) const {
    QLocalSocket socket;
    socket.connectToServer(serverName());
    if (!socket.waitForConnected(timeoutMs)) {
        return false;
    }
    socket.write(request + '\n');
    if (!socket.waitForBytesWritten(timeoutMs)) {
        return false;
    }
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(timeoutMs)) {
            return false;
        }
    }
    return socket.readLine().trimmed() == "ok";
}

}  // namespace bp
