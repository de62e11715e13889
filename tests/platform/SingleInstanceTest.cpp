#include "platform/qt/SingleInstance.h"
#include "support/ReadOnlyFolder.h"
#include "support/TestFiles.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocalSocket>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

using bp::SingleInstance;
using bp::test::TempFolder;

namespace {

QString q(const std::string& path) {
    return QString::fromStdString(path);
}

pid_t startInAnotherProcess(const std::function<bool()>& body) {
    const pid_t child = fork();
    if (child == 0) {
        _exit(body() ? 0 : 1);
    }
    return child;
}

// The child's exit code, while this process's event loop keeps answering.
int exitCodeWhileAnswering(pid_t child) {
    int status = -1;
    QElapsedTimer clock;
    clock.start();
    while (waitpid(child, &status, WNOHANG) == 0 && clock.elapsed() < 15000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Runs body in a child process, as a later start would run, and returns its exit code.
int inAnotherProcess(const std::function<bool()>& body) {
    return exitCodeWhileAnswering(startInAnotherProcess(body));
}

bool eventuallyWhileAnswering(const std::function<bool()>& condition) {
    QElapsedTimer clock;
    clock.start();
    while (!condition() && clock.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return condition();
}

using Status = SingleInstance::Answer::Status;

// Takes every request but "action refuse-me", and keeps what it took.
struct Taker {
    explicit Taker(SingleInstance& instance) {
        instance.setRequestHandler([this](const QByteArray& request) {
            if (request == "action refuse-me") {
                return QStringLiteral("not today");
            }
            taken.push_back(request);
            return QString();
        });
    }
    std::vector<QByteArray> taken;
};

TEST(SingleInstance, ALaterStartWithAnotherRuntimeFolderReachesTheCopyHoldingTheDataFolder) {
    TempFolder data, runtime, otherRuntime;
    SingleInstance first(q(data.path()), q(runtime.path()));
    ASSERT_EQ(first.acquire(), SingleInstance::Acquired::Yes);
    Taker taker(first);

    EXPECT_EQ(inAnotherProcess([&] {
                  SingleInstance second(q(data.path()), q(otherRuntime.path()));
                  if (second.acquire() != SingleInstance::Acquired::HeldByAnotherCopy) {
                      return false;
                  }
                  const auto taken = second.sendToRunningCopy("action new-note", 5000);
                  const auto refused = second.sendToRunningCopy("action refuse-me", 5000);
                  return taken.status == Status::Taken && refused.status == Status::Refused &&
                         refused.reason == "not today";
              }),
              0);
    EXPECT_EQ(taker.taken, std::vector<QByteArray>{"action new-note"});
}

TEST(SingleInstance, ALaterStartReachesACopyThatHasOnlyJustTakenTheLock) {
    TempFolder data, runtime;
    // The moment in which the first copy holds the lock but has not yet written its socket's
    // name into it, nor listens.
    const int held = ::open(data.file("Brightpost.lock").c_str(), O_RDONLY | O_CREAT, 0600);
    ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
    const pid_t child = startInAnotherProcess([&] {
        // The lock belongs to the open file, which the child shares: it lets go of its share.
        ::close(held);
        SingleInstance second(q(data.path()), q(runtime.path()));
        return second.acquire() == SingleInstance::Acquired::HeldByAnotherCopy &&
               second.sendToRunningCopy("action new-note", 10000).status == Status::Taken;
    });
    // Long enough for the later start to find the lock without a name.
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 300) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    ::close(held);
    SingleInstance first(q(data.path()), q(runtime.path()));
    ASSERT_EQ(first.acquire(), SingleInstance::Acquired::Yes);
    Taker taker(first);
    EXPECT_EQ(exitCodeWhileAnswering(child), 0);
    EXPECT_EQ(taker.taken, std::vector<QByteArray>{"action new-note"});
}

TEST(SingleInstance, ConnectionsAreHeldToAFewKilobytesAFewSecondsAndAFewAtOnce) {
    TempFolder data, runtime;
    SingleInstance first(q(data.path()), q(runtime.path()));
    first.setLimits({.maxLineBytes = 256, .idleTimeoutMs = 1500, .maxClients = 4});
    ASSERT_EQ(first.acquire(), SingleInstance::Acquired::Yes);
    Taker taker(first);
    const auto connected = [&] {
        auto socket = std::make_unique<QLocalSocket>();
        socket->connectToServer(first.serverName());
        EXPECT_TRUE(socket->waitForConnected(2000));
        return socket;
    };

    // A line that does not end within the limit is not read any further: the client is closed.
    const auto flooder = connected();
    flooder->write(QByteArray(1 << 20, 'x'));
    EXPECT_TRUE(eventuallyWhileAnswering(
        [&] { return flooder->state() == QLocalSocket::UnconnectedState; }));

    // Silent clients: never more than the limit at once, the longest-waiting ones closed first,
    // and a request still gets through among them.
    std::vector<std::unique_ptr<QLocalSocket>> silent;
    for (int i = 0; i < 10; ++i) {
        silent.push_back(connected());
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        EXPECT_LE(first.clientCount(), 4u);
    }
    EXPECT_EQ(silent.front()->state(), QLocalSocket::UnconnectedState);
    EXPECT_EQ(inAnotherProcess([&] {
                  SingleInstance second(q(data.path()), q(runtime.path()));
                  return second.sendToRunningCopy("action new-note", 5000).status == Status::Taken;
              }),
              0);
    EXPECT_EQ(taker.taken, std::vector<QByteArray>{"action new-note"});

    // Those that stay silent are closed after the time-out.
    EXPECT_TRUE(eventuallyWhileAnswering([&] {
        return first.clientCount() == 0 &&
               std::all_of(silent.begin(), silent.end(), [](const auto& socket) {
                   return socket->state() == QLocalSocket::UnconnectedState;
               });
    }));
}

TEST(SingleInstance, AScriptCarriesABodyBothWaysWithinItsLimits) {
    TempFolder data, runtime;
    SingleInstance first(q(data.path()), q(runtime.path()));
    first.setLimits({.maxLineBytes = 256, .maxScriptBytes = 2 << 20, .idleTimeoutMs = 1500});
    ASSERT_EQ(first.acquire(), SingleInstance::Acquired::Yes);
    Taker taker(first);
    std::vector<QByteArray> scripts;
    first.setScriptHandler([&scripts](const QByteArray& body) -> SingleInstance::ScriptReply {
        scripts.push_back(body);
        if (body == "refuse-me") {
            return {{}, QStringLiteral("not today")};
        }
        // Twice the body: an answer longer than what was asked.
        return {body + body, {}};
    });

    // Bodies with line ends in them and far beyond the line limit come back whole; a
    // refusal is a refusal; the line requests are as they were.
    const QByteArray big = QByteArray(1 << 20, 'n') + "\nend\n";
    EXPECT_EQ(inAnotherProcess([&] {
                  SingleInstance later(q(data.path()), q(runtime.path()));
                  if (!later.findRunningCopy()) {
                      return false;
                  }
                  const auto small = later.sendScript("{\"a\":\n1}", 5000);
                  const auto empty = later.sendScript("", 5000);
                  const auto large = later.sendScript(big, 5000);
                  const auto refused = later.sendScript("refuse-me", 5000);
                  const auto tooLong = later.sendScript(QByteArray((2 << 20) + 1, 'x'), 5000);
                  const auto action = later.sendToRunningCopy("action save", 5000);
                  return small.status == Status::Taken &&
                         small.payload == "{\"a\":\n1}{\"a\":\n1}" &&
                         empty.status == Status::Taken && empty.payload.isEmpty() &&
                         large.status == Status::Taken && large.payload == big + big &&
                         refused.status == Status::Refused && refused.reason == "not today" &&
                         tooLong.status == Status::Refused &&
                         tooLong.reason.contains("longer than") && action.status == Status::Taken;
              }),
              0);
    EXPECT_EQ(scripts.size(), 4u);
    EXPECT_EQ(taker.taken, std::vector<QByteArray>{"action save"});

    const auto connected = [&] {
        auto socket = std::make_unique<QLocalSocket>();
        socket->connectToServer(first.serverName());
        EXPECT_TRUE(socket->waitForConnected(2000));
        return socket;
    };
    const auto answerOf = [](QLocalSocket& socket) {
        eventuallyWhileAnswering([&] { return socket.canReadLine(); });
        return socket.readLine();
    };
    // A length that is not a number is refused.
    const auto garbled = connected();
    garbled->write("script 12x\n");
    EXPECT_TRUE(answerOf(*garbled).startsWith("refused not a script"));

    // A body that stops short of its length, and an answer nobody takes, are held only to the
    // time-out: then the connection is closed and nothing is kept for it.
    const auto shortBody = connected();
    shortBody->write("script 100\nonly this");
    const auto deaf = connected();
    deaf->setReadBufferSize(64);
    const QByteArray huge(4 << 20, 'h');
    deaf->write("script " + QByteArray::number(huge.size() / 2) + "\n" +
                huge.left(huge.size() / 2));
    EXPECT_TRUE(eventuallyWhileAnswering([&] { return scripts.size() == 5u; }));
    EXPECT_EQ(first.clientCount(), 2u);
    EXPECT_TRUE(eventuallyWhileAnswering([&] {
        return first.clientCount() == 0 && shortBody->state() == QLocalSocket::UnconnectedState;
    }));
    EXPECT_TRUE(answerOf(*shortBody).startsWith("refused no request within"));
    EXPECT_EQ(scripts.size(), 5u);

    // A copy without a script handler says so.
    first.setScriptHandler({});
    const auto unhandled = connected();
    unhandled->write("script 2\n{}");
    EXPECT_EQ(answerOf(*unhandled), "refused this copy takes no scripts\n");
}

TEST(SingleInstance, CopiesOnTwoDataFoldersRunSideBySide) {
    TempFolder one, two, runtime;
    SingleInstance first(q(one.path()), q(runtime.path()));
    SingleInstance second(q(two.path()), q(runtime.path()));
    EXPECT_EQ(first.acquire(), SingleInstance::Acquired::Yes);
    EXPECT_EQ(second.acquire(), SingleInstance::Acquired::Yes);
    EXPECT_NE(first.serverName(), second.serverName());
}

TEST(SingleInstance, ACopyThatCannotBeReachedIsReportedAsNotAnswering) {
    TempFolder data, runtime;
    // Without its event loop running the first copy never acknowledges; without a runtime
    // folder it has no socket at all.
    for (const QString& folder : {q(runtime.path()), QString()}) {
        SingleInstance first(q(data.path()), folder);
        ASSERT_EQ(first.acquire(), SingleInstance::Acquired::Yes);
        SingleInstance second(q(data.path()), q(runtime.path()));
        EXPECT_EQ(second.acquire(), SingleInstance::Acquired::HeldByAnotherCopy);
        EXPECT_EQ(second.sendToRunningCopy("action tray-menu", 300).status, Status::NoAnswer);
    }
}

TEST(SingleInstance, ADataFolderOnAReadOnlyFileSystemWithoutALockFileStillHasOneCopy) {
    TempFolder data, runtime;
    const int code = bp::test::withFolderReadOnly(data.path(), [&] {
        SingleInstance first(q(data.path()), q(runtime.path()));
        if (first.acquire() != SingleInstance::Acquired::Yes) {
            std::fprintf(stderr, "%s\n", qPrintable(first.problem()));
            return false;
        }
        Taker taker(first);
        const auto laterStart = [&](const QByteArray& request) {
            SingleInstance later(q(data.path()), q(runtime.path()));
            return later.acquire() == SingleInstance::Acquired::HeldByAnotherCopy &&
                   later.sendToRunningCopy(request, 5000).status == Status::Taken;
        };
        const int whileReadOnly = inAnotherProcess([&] { return laterStart("action save"); });
        // The file system can be written again: the folder's own lock is free, yet the
        // folder is still held.
        const int onceWritable = inAnotherProcess([&] {
            return ::unshare(CLONE_NEWNS) == 0 && ::umount(data.path().c_str()) == 0 &&
                   laterStart("action newNote");
        });
        return whileReadOnly == 0 && onceWritable == 0 &&
               taker.taken == std::vector<QByteArray>{"action save", "action newNote"};
    });
    if (code == bp::test::kCannotMakeReadOnly) {
        GTEST_SKIP() << "a read-only bind mount needs root";
    }
    EXPECT_EQ(code, 0);
}

TEST(SingleInstance, ALockLeftByADeadCopyIsTakenOver) {
    TempFolder data, runtime;
    const pid_t child = fork();
    if (child == 0) {
        SingleInstance crashed(q(data.path()), q(runtime.path()));
        crashed.acquire();
        _exit(0);  // no clean-up: the lock file and the socket stay behind
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(std::filesystem::exists(data.file("Brightpost.lock")));
    SingleInstance next(q(data.path()), q(runtime.path()));
    EXPECT_EQ(next.acquire(), SingleInstance::Acquired::Yes);
}

// Sets environment variables for one test and puts them back afterwards.
class Environment {
public:
    void set(const char* name, const std::string& value) {
        remember(name);
        ::setenv(name, value.c_str(), 1);
    }
    void unset(const char* name) {
        remember(name);
        ::unsetenv(name);
    }
    ~Environment() {
        for (const auto& [name, value] : saved_) {
            if (value) {
                ::setenv(name.c_str(), value->c_str(), 1);
            } else {
                ::unsetenv(name.c_str());
            }
        }
    }

private:
    void remember(const char* name) {
        const char* value = std::getenv(name);
        saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
    }
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST(RuntimeFolder, NeverASharedFolder) {
    TempFolder base;
    const std::string cache = base.file("cache");
    const std::string fallback = cache + "/Brightpost";
    const std::string good = base.file("good");
    const std::string open = base.file("open");
    ::mkdir(good.c_str(), 0700);
    ::mkdir(open.c_str(), 0700);
    ::chmod(open.c_str(), 01777);
    // Where the lock and socket used to go without a runtime folder, with a lock another user
    // put there first.
    const std::string tmp = base.file("tmp");
    ::mkdir(tmp.c_str(), 0700);
    ::chmod(tmp.c_str(), 01777);
    ::mkdir((tmp + "/brightpost-" + std::to_string(geteuid()) + ".lock").c_str(), 0700);

    struct Case {
        const char* name;
        std::optional<std::string> runtime;
        std::string expected;
    };
    for (const Case& c : {Case{"a private runtime folder", good, good},
                          Case{"no runtime folder", std::nullopt, fallback},
                          Case{"a runtime folder anyone can write to", open, fallback},
                          Case{"a relative runtime folder", std::string("run"), fallback}}) {
        SCOPED_TRACE(c.name);
        Environment env;
        env.set("XDG_CACHE_HOME", cache);
        env.set("TMPDIR", tmp);
        if (c.runtime) {
            env.set("XDG_RUNTIME_DIR", *c.runtime);
        } else {
            env.unset("XDG_RUNTIME_DIR");
        }
        const QString folder = SingleInstance::defaultRuntimeFolder();
        EXPECT_EQ(folder.toStdString(), c.expected);
        struct stat st {};
        ASSERT_EQ(::stat(c.expected.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u);

        TempFolder data;
        SingleInstance instance(q(data.path()), folder);
        EXPECT_EQ(instance.acquire(), SingleInstance::Acquired::Yes);
        EXPECT_TRUE(instance.serverName().startsWith(folder + "/"));
    }
}

TEST(RuntimeFolder, AFallbackFolderAnotherUserControlsIsNotUsed) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "handing a folder to another user needs root";
    }
    TempFolder base;
    const std::string planted = base.file("cache/Brightpost");
    std::filesystem::create_directories(planted);
    ASSERT_EQ(::chown(planted.c_str(), 65534, 65534), 0);
    Environment env;
    env.unset("XDG_RUNTIME_DIR");
    env.set("XDG_CACHE_HOME", base.file("cache"));
    EXPECT_TRUE(SingleInstance::defaultRuntimeFolder().isEmpty());
}

}  // namespace
