#include "SingleInstance.h"

#include "platform/DataFolder.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
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

// A request as it may be shown in a log line: printable ASCII, and not too much of it.
QByteArray shownInLog(const QByteArray& line) {
    constexpr qsizetype kShown = 60;
    QByteArray shown;
    for (const char c : line.left(kShown)) {
        shown += c >= 0x20 && c < 0x7f ? QByteArray(1, c) : QByteArrayLiteral("?");
    }
    if (line.size() > kShown) {
        shown += "...";
    }
    return shown;
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
    if (QString runtime = absoluteFolderFromEnvironment("XDG_RUNTIME_DIR");
        !runtime.isEmpty() && isPrivateFolderOfUser(runtime)) {
        return runtime;
    }
    QString cache = absoluteFolderFromEnvironment("XDG_CACHE_HOME");
    if (cache.isEmpty()) {
        cache = QDir::homePath() + QStringLiteral("/.cache");
    }
    QString folder = cache + QStringLiteral("/Brightpost");
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
        // Qt reads no further than this ahead, so a line without an end costs no more.
        socket->setReadBufferSize(limits_.maxLineBytes);
        auto* idle = new QTimer(socket);
        clients_.push_back({socket, idle});
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] { drop(socket); });
        idle->setSingleShot(true);
        connect(idle, &QTimer::timeout, this, [this, socket] {
            // A request that came in while the program was busy is still served.
            readRequest(socket);
            const Client* client = clientOf(socket);
            if (client == nullptr) {
                return;
            }
            if (client->answered) {
                // Whoever does not take its answer in time gets no more of it.
                drop(socket);
                return;
            }
            refuseAndClose(
                socket, QStringLiteral("no request within %1 ms").arg(limits_.idleTimeoutMs), {});
        });
        idle->start(limits_.idleTimeoutMs);
        if (clients_.size() > static_cast<std::size_t>(std::max(1, limits_.maxClients))) {
            drop(clients_.front().socket);
        }
        readRequest(socket);
    }
}

SingleInstance::Client* SingleInstance::clientOf(QLocalSocket* socket) {
    const auto found = std::find_if(clients_.begin(), clients_.end(),
                                    [socket](const Client& c) { return c.socket == socket; });
    return found != clients_.end() ? &*found : nullptr;
}

namespace {

// The body's length a line "script <length>" announces: -1 for another kind of line, -2 for
// a length that is not a plain decimal number.
qsizetype announcedScriptBytes(const QByteArray& line) {
    const QByteArray prefix = "script ";
    if (!line.startsWith(prefix)) {
        return -1;
    }
    const QByteArray digits = line.mid(prefix.size());
    const bool decimal =
        !digits.isEmpty() && digits.size() <= 12 &&
        std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
    return decimal ? digits.toLongLong() : -2;
}

}  // namespace

void SingleInstance::readRequest(QLocalSocket* socket) {
    Client* client = clientOf(socket);
    if (client == nullptr || client->answered) {
        return;
    }
    if (client->scriptBytes < 0) {
        if (!socket->canReadLine()) {
            if (socket->bytesAvailable() >= limits_.maxLineBytes) {
                refuseAndClose(
                    socket,
                    QStringLiteral("the request is longer than %1 bytes").arg(limits_.maxLineBytes),
                    socket->peek(64));
            }
            return;
        }
        // The whole line is within the read buffer, so within the limit.
        QByteArray line = socket->readLine();
        line.chop(1);
        const qsizetype bytes = announcedScriptBytes(line);
        if (bytes == -1) {
            answer(socket, line);
            return;
        }
        if (bytes == -2) {
            refuseAndClose(socket, QStringLiteral("not a script (\"script <length>\")"), line);
            return;
        }
        if (bytes > limits_.maxScriptBytes) {
            refuseAndClose(
                socket,
                QStringLiteral("the script is longer than %1 bytes").arg(limits_.maxScriptBytes),
                line);
            return;
        }
        client->scriptBytes = bytes;
        // Room for the body and no more; 0 would mean no limit at all.
        socket->setReadBufferSize(std::max<qsizetype>(bytes, 1));
    }
    if (socket->bytesAvailable() >= client->scriptBytes) {
        answerScript(socket, socket->read(client->scriptBytes));
    }
}

void SingleInstance::answer(QLocalSocket* socket, const QByteArray& line) {
    const QString refused =
        handler_ ? handler_(line) : QStringLiteral("this copy takes no requests");
    if (!refused.isEmpty()) {
        refuseAndClose(socket, refused, line);
        return;
    }
    // Answered before the request is carried out, which may open a modal menu or end the
    // program; the handler only queues it.
    reply(socket, "ok\n");
}

void SingleInstance::answerScript(QLocalSocket* socket, const QByteArray& body) {
    if (!scriptHandler_) {
        refuseAndClose(socket, QStringLiteral("this copy takes no scripts"), body);
        return;
    }
    const ScriptReply done = scriptHandler_(body);
    // The handler may have run an event loop in which the client went away.
    if (clientOf(socket) == nullptr) {
        return;
    }
    if (!done.refusal.isEmpty()) {
        refuseAndClose(socket, done.refusal, body);
        return;
    }
    reply(socket, "ok " + QByteArray::number(done.answer.size()) + '\n' + done.answer);
}

void SingleInstance::reply(QLocalSocket* socket, const QByteArray& bytes) {
    Client* client = clientOf(socket);
    if (client == nullptr) {
        return;
    }
    client->answered = true;
    // A long answer is still being written when the connection is closed: the connection
    // closes once it is all out, and the time-out starts again for the client to take it.
    client->idle->start(limits_.idleTimeoutMs);
    socket->write(bytes);
    socket->flush();
    socket->disconnectFromServer();
    if (socket->state() == QLocalSocket::UnconnectedState) {
        drop(socket);
    }
}

void SingleInstance::refuseAndClose(QLocalSocket* socket, const QString& reason,
                                    const QByteArray& shown) {
    std::fprintf(stderr, "brightpost: refused a request on the command socket (\"%s\"): %s\n",
                 shownInLog(shown).constData(), qPrintable(reason));
    socket->write("refused " + reason.toUtf8() + '\n');
    socket->flush();
    drop(socket);
}

void SingleInstance::drop(QLocalSocket* socket) {
    const auto found = std::find_if(clients_.begin(), clients_.end(),
                                    [socket](const Client& c) { return c.socket == socket; });
    if (found == clients_.end()) {
        return;
    }
    clients_.erase(found);
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
}

namespace {

QString socketNameIn(const QString& lockPath) {
    QFile lock(lockPath);
    if (!lock.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QString name = QFile::decodeName(lock.readLine(4096).trimmed());
    return name.startsWith(QLatin1Char('/')) ? name : QString();
}

}  // namespace

SingleInstance::Answer SingleInstance::sendToRunningCopy(const QByteArray& request,
                                                         int timeoutMs) const {
    return exchange(request + '\n', false, timeoutMs);
}

SingleInstance::Answer SingleInstance::sendScript(const QByteArray& body, int timeoutMs) const {
    return exchange("script " + QByteArray::number(body.size()) + '\n' + body, true, timeoutMs);
}

namespace {

// The rest of a script's answer, "<length>\n" and the body, once "ok " has come.
SingleInstance::Answer readScriptAnswer(QLocalSocket& socket, const QByteArray& lengthText,
                                        const QDeadlineTimer& deadline) {
    using Answer = SingleInstance::Answer;
    // More than any answer of ours; what claims more is not one.
    constexpr qint64 kMaxAnswerBytes = qint64{1} << 30;
    bool number = false;
    const qint64 length = lengthText.toLongLong(&number);
    if (!number || length < 0 || length > kMaxAnswerBytes) {
        return {Answer::Status::NoAnswer, QStringLiteral("the answer was not understood"), {}};
    }
    QByteArray body;
    body.reserve(length);
    while (body.size() < length) {
        if (socket.bytesAvailable() > 0) {
            body += socket.read(length - body.size());
        } else if (!socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
            return {Answer::Status::NoAnswer, QStringLiteral("the answer was cut short"), {}};
        }
    }
    return {Answer::Status::Taken, {}, body};
}

}  // namespace

SingleInstance::Answer SingleInstance::exchange(const QByteArray& request, bool script,
                                                int timeoutMs) const {
    constexpr int kRetryMs = 50;
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        if (const QString name = socketNameIn(heldLock_.isEmpty() ? lockPath() : heldLock_);
            !name.isEmpty()) {
            QLocalSocket socket;
            socket.connectToServer(name);
            if (socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) {
                socket.write(request);
                // A script's body may be more than the socket holds at once.
                while (socket.bytesToWrite() > 0 &&
                       socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) {
                }
                while (!socket.canReadLine() &&
                       socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
                }
                if (socket.canReadLine()) {
                    const QByteArray answer = socket.readLine().trimmed();
                    if (answer == "ok" && !script) {
                        return {Answer::Status::Taken, {}, {}};
                    }
                    if (script && answer.startsWith("ok ")) {
                        return readScriptAnswer(socket, answer.mid(3), deadline);
                    }
                    const QByteArray refused = "refused ";
                    return {Answer::Status::Refused,
                            QString::fromUtf8(
                                answer.startsWith(refused) ? answer.mid(refused.size()) : answer),
                            {}};
                }
                // Closed unanswered: turned away among too many connections.
            }
        }
        if (deadline.hasExpired()) {
            return {};
        }
        QThread::msleep(static_cast<unsigned long>(
            std::min<qint64>(kRetryMs, std::max<qint64>(1, deadline.remainingTime()))));
    }
}

bool SingleInstance::findRunningCopy() {
    for (const QString& lock : {lockPath(), runtimeLockPath()}) {
        if (!lock.isEmpty() && heldByAnother(lock)) {
            heldLock_ = lock;
            return true;
        }
    }
    return false;
}

}  // namespace bp
