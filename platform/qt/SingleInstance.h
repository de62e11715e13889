#pragma once

#include <QByteArray>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;

namespace bp {

// One running copy per user: a lock file held for the whole run and a local socket on which
// the running copy takes requests from later starts. A lock left by a crashed copy is taken
// over, because QLockFile checks whether its holder still lives.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // runtimeFolder: where the lock and the socket live (normally $XDG_RUNTIME_DIR).
    explicit SingleInstance(QString runtimeFolder, QObject* parent = nullptr);
    ~SingleInstance() override;

    static QString defaultRuntimeFolder();

    // True when this process is now the running copy (it holds the lock and listens).
    bool acquire();

    // From a later start: hands one request line to the running copy and waits for its
    // acknowledgement. False when nobody answered within the time-out.
    bool sendToRunningCopy(const QByteArray& request, int timeoutMs = 3000) const;

    QString serverName() const;

signals:
    // A request line from a later start (without the line end).
    void requestReceived(const QByteArray& request);

private:
    void acceptConnections();

    QString runtimeFolder_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer* server_ = nullptr;
};

}  // namespace bp
