#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QLocalServer;

namespace bp {

// One running copy per data folder: an exclusive lock on a file inside the folder, held for
// the whole run (the kernel frees it when the holder dies, however it dies), and a local
// socket on which the running copy takes requests from later starts. The lock file names the
// socket, so a later start finds the running copy whatever its own runtime folder is.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Acquired { Yes, HeldByAnotherCopy, Failed };

    // dataFolder: an existing folder of the user; runtimeFolder: where the socket goes (may be
    // empty: then the running copy takes no requests).
    SingleInstance(QString dataFolder, QString runtimeFolder, QObject* parent = nullptr);
    ~SingleInstance() override;

    // $XDG_RUNTIME_DIR when it is a folder of the user that nobody else can write to; else a
    // private folder of the user under $XDG_CACHE_HOME (never a shared folder like /tmp);
    // empty when neither can be had.
    static QString defaultRuntimeFolder();

    // Yes when this process is now the running copy (it holds the lock and listens).
    Acquired acquire();
    // Why acquire failed, for the user.
    QString problem() const { return problem_; }

    // From a later start: hands one request line to the copy that holds the data folder and
    // waits for its acknowledgement. False when nobody answered within the time-out.
    bool sendToRunningCopy(const QByteArray& request, int timeoutMs = 3000) const;

    QString serverName() const;
    QString lockPath() const;
    // The lock of a data folder on a read-only file system that has no lock file: beside the
    // socket, named like it. Empty without a runtime folder.
    QString runtimeLockPath() const;

signals:
    // A request line from a later start (without the line end).
    void requestReceived(const QByteArray& request);

private:
    void acceptConnections();

    QString dataFolder_;
    QString runtimeFolder_;
    QString problem_;
    // The lock file this process took, or found held by the running copy.
    QString heldLock_;
    int lockFd_ = -1;
    QLocalServer* server_ = nullptr;
};

}  // namespace bp
