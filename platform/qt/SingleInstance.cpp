#include "SingleInstance.h"

#include "platform/DataFolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace bp {

namespace {

// A folder only this user can put things in.
bool isPrivateFolderOfUser(const QString& folder) {
    struct stat st {};
    return ::stat(QFile::encodeName(folder).constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
           st.st_uid == geteuid() && (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

QString absoluteFolderFromEnvironment(const char* name) {
    const QString folder = qEnvironmentVariable(name);
    return folder.startsWith(QLatin1Char('/')) ? folder : QString();
}

}  // namespace

SingleInstance::SingleInstance(QString dataFolder, QString runtimeFolder, QObject* parent)
    : QObject(parent),
      dataFolder_(std::move(dataFolder)),
      runtimeFolder_(std::move(runtimeFolder)) {}

SingleInstance::~SingleInstance() {
    if (lockFd_ >= 0) {
        ::close(lockFd_);
    }
}

QString SingleInstance::defaultRuntimeFolder() {
    if (const QString runtime = absoluteFolderFromEnvironment("XDG_RUNTIME_DIR");
        !runtime.isEmpty() && isPrivateFolderOfUser(runtime)) {
        return runtime;
    }
    QString cache = absoluteFolderFromEnvironment("XDG_CACHE_HOME");
    if (cache.isEmpty()) {
        cache = QDir::homePath() + QStringLiteral("/.cache");
    }
    const QString folder = cache + QStringLiteral("/Brightpost");
    if (!preparePrivateFolder(QFile::encodeName(folder).toStdString()).usable) {
        return {};
    }
    return folder;
}

QString SingleInstance::lockPath() const {
    return dataFolder_ + QStringLiteral("/Brightpost.lock");
}

QString SingleInstance::serverName() const {
    if (runtimeFolder_.isEmpty()) {
        return {};
    }
    // One socket per data folder; the uid keeps users apart should the folder be shared.
    QString folder = QFileInfo(dataFolder_).canonicalFilePath();
    if (folder.isEmpty()) {
        folder = dataFolder_;
    }
    const QByteArray hash =
        QCryptographicHash::hash(QFile::encodeName(folder), QCryptographicHash::Sha1).toHex();
    return runtimeFolder_ + QStringLiteral("/brightpost-%1-%2.socket")
                                .arg(geteuid())
                                .arg(QString::fromLatin1(hash.left(16)));
}

QString SingleInstance::runtimeLockPath() const {
    QString name = serverName();
    if (!name.isEmpty()) {
        name.chop(QStringLiteral(".socket").size());
        name += QStringLiteral(".lock");
    }
    return name;
}

namespace {

// The lock is held through a descriptor that only reads, so that holding it never keeps the
// data folder's file system from being made read-only under the running program. Opened
// without waiting, as a named pipe in its place would hold the start for good.
int openLockFile(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    struct stat st {};
    if (fd >= 0 && (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))) {
        ::close(fd);
        errno = EINVAL;  // stands for "not a file" here
        return -1;
    }
    return fd;
}

// Whether another process holds the lock on an existing file.
bool heldByAnother(const QString& path) {
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}

}  // namespace

SingleInstance::Acquired SingleInstance::acquire() {
    heldLock_ = lockPath();
    int fd = openLockFile(heldLock_);
    // A data folder on a read-only file system that has no lock file yet cannot get one; the
    // lock then goes beside the socket, named after the folder, so that it still stands for
    // this data folder alone.
    const bool readOnlyFolder = fd < 0 && errno == EROFS && !runtimeLockPath().isEmpty();
    if (readOnlyFolder) {
        heldLock_ = runtimeLockPath();
        fd = openLockFile(heldLock_);
    }
    if (fd < 0) {
        const QString reason = errno == EINVAL
                                   ? QStringLiteral("\"%1\" is not a file").arg(heldLock_)
                                   : QString::fromLocal8Bit(std::strerror(errno));
        problem_ = QStringLiteral("Brightpost cannot lock its data folder \"%1\": %2.")
                       .arg(dataFolder_, reason);
        return Acquired::Failed;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK) {
            return Acquired::HeldByAnotherCopy;
        }
        problem_ = QStringLiteral("Brightpost cannot lock its data folder \"%1\": %2.")
                       .arg(dataFolder_, QString::fromLocal8Bit(std::strerror(error)));
        return Acquired::Failed;
    }
    // A copy that started while the file system was read-only holds only the lock beside the
    // socket, and still holds the folder once the file system can be written again.
    if (!readOnlyFolder && !runtimeLockPath().isEmpty() && heldByAnother(runtimeLockPath())) {
        ::close(fd);
        heldLock_ = runtimeLockPath();
        return Acquired::HeldByAnotherCopy;
    }
    lockFd_ = fd;
    const QByteArray path = QFile::encodeName(heldLock_);

    QByteArray name;
    if (!runtimeFolder_.isEmpty()) {
        server_ = new QLocalServer(this);
        server_->setSocketOptions(QLocalServer::UserAccessOption);
        // Whoever held the data folder before is gone, so a socket of that name is stale.
        QLocalServer::removeServer(serverName());
        if (server_->listen(serverName())) {
            name = QFile::encodeName(serverName());
            connect(server_, &QLocalServer::newConnection, this,
                    &SingleInstance::acceptConnections);
        } else {
            qWarning("Brightpost: cannot listen on %s: %s", qPrintable(serverName()),
                     qPrintable(server_->errorString()));
        }
    }
    // Later starts read where to reach this copy; without a name they say the folder is in use.
    const int writer = ::open(path.constData(), O_WRONLY | O_TRUNC | O_NOFOLLOW | O_CLOEXEC);
    if (writer >= 0) {
        if (!name.isEmpty()) {
            name += '\n';
            [[maybe_unused]] const ssize_t written = ::write(writer, name.constData(), name.size());
        }
        ::close(writer);
    }
    return Acquired::Yes;
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
    QFile lock(heldLock_.isEmpty() ? lockPath() : heldLock_);
    if (!lock.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QString name = QFile::decodeName(lock.readLine(4096).trimmed());
    if (!name.startsWith(QLatin1Char('/'))) {
        return false;
    }
    QLocalSocket socket;
    socket.connectToServer(name);
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
