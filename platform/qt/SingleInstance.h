#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>
#include <vector>

class QLocalServer;
class QLocalSocket;
class QTimer;

namespace bp {

// One running copy per data folder: an exclusive lock on a file inside the folder, held for
// the whole run (the kernel frees it when the holder dies, however it dies), and a local
// socket on which the running copy takes requests from later starts. The lock file names the
// socket, so a later start finds the running copy whatever its own runtime folder is.
//
// A request is one line; the running copy answers "ok" or "refused <reason>" and closes the
// connection. A script's request carries a body and gets one back: the line "script <length>"
// and that many bytes, answered "ok <length>" and that many bytes, or "refused <reason>".
// Whatever connects to the socket is held to a few kilobytes (a few megabytes for a script's
// body) and a few seconds, and only so many connections are kept at once, so that no client
// can make the program grow or run out of descriptors.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Acquired { Yes, HeldByAnotherCopy, Failed };

    // Takes a request line (without its line end): empty when it is taken, else why not.
    using RequestHandler = std::function<QString(const QByteArray& request)>;

    // What the running copy makes of a script's body: the body of its answer, or why it was
    // refused.
    struct ScriptReply {
        QByteArray answer;
        QString refusal;
    };
    using ScriptHandler = std::function<ScriptReply(const QByteArray& body)>;

    struct Limits {
        qsizetype maxLineBytes = 4096;  // the line end included
        // A note's text may be a megabyte of characters, several bytes each once written out.
        qsizetype maxScriptBytes = 8 << 20;
        int idleTimeoutMs = 5000;  // to send a whole request, and again to take the answer
        int maxClients = 16;       // beyond this the longest-waiting one is closed
    };

    struct Answer {
        enum class Status { Taken, Refused, NoAnswer };
        Status status = Status::NoAnswer;
        QString reason;      // why it was refused, or why no answer came
        QByteArray payload;  // the body of a script's answer
    };

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

    void setRequestHandler(RequestHandler handler) { handler_ = std::move(handler); }
    void setScriptHandler(ScriptHandler handler) { scriptHandler_ = std::move(handler); }
    void setLimits(Limits limits) { limits_ = limits; }
    // Connections open now, for tests.
    std::size_t clientCount() const { return clients_.size(); }

    // From a later start: hands one request line to the copy that holds the data folder and
    // waits for its answer. A copy that has only just started may not have written its
    // socket's name or be listening yet, and one that is flooded may turn a connection away:
    // both are tried again until the time-out.
    Answer sendToRunningCopy(const QByteArray& request, int timeoutMs = 10000) const;
    // The same for a script's body; the answer's body comes back in the payload. Nothing is
    // tried again once the running copy has begun to answer, as it may have done what the
    // script asked.
    Answer sendScript(const QByteArray& body, int timeoutMs = 10000) const;
    // Instead of acquire, for a start that only talks to the running copy: whether one holds
    // the data folder, found without taking or making anything; what is sent goes to it.
    bool findRunningCopy();

    QString serverName() const;
    QString lockPath() const;
    // The lock of a data folder on a read-only file system that has no lock file: beside the
    // socket, named like it. Empty without a runtime folder.
    QString runtimeLockPath() const;

private:
    struct Client {
        QLocalSocket* socket = nullptr;
        QTimer* idle = nullptr;
        qsizetype scriptBytes = -1;  // the length of the script's body once its line came
        bool answered = false;       // then only what is left of the answer is still written
    };

    void acceptConnections();
    Client* clientOf(QLocalSocket* socket);
    void readRequest(QLocalSocket* socket);
    void answer(QLocalSocket* socket, const QByteArray& line);
    void answerScript(QLocalSocket* socket, const QByteArray& body);
    void reply(QLocalSocket* socket, const QByteArray& bytes);
    void refuseAndClose(QLocalSocket* socket, const QString& reason, const QByteArray& shown);
    void drop(QLocalSocket* socket);
    Answer exchange(const QByteArray& request, bool script, int timeoutMs) const;

    QString dataFolder_;
    QString runtimeFolder_;
    QString problem_;
    // The lock file this process took, or found held by the running copy.
    QString heldLock_;
    int lockFd_ = -1;
    QLocalServer* server_ = nullptr;
    RequestHandler handler_;
    ScriptHandler scriptHandler_;
    Limits limits_;
    // Open connections, longest-waiting first: those that have not yet sent their request and
    // those whose answer is still being written.
    std::vector<Client> clients_;
};

}  // namespace bp
