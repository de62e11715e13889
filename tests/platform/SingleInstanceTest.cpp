#include "platform/qt/SingleInstance.h"
#include "support/TestFiles.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLockFile>
#include <QThread>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

using bp::SingleInstance;

namespace {

TEST(SingleInstance, OneCopyHoldsTheLockAndAnswersTheNextStart) {
    bp::test::TempFolder runtime;
    SingleInstance first(QString::fromStdString(runtime.path()));
    ASSERT_TRUE(first.acquire());
    QByteArray received;
    QObject::connect(&first, &SingleInstance::requestReceived,
                     [&](const QByteArray& request) { received = request; });

    // The next start runs in another process, as it would for real.
    const pid_t child = fork();
    if (child == 0) {
        SingleInstance second(QString::fromStdString(runtime.path()));
        const bool refused = !second.acquire();
        const bool answered = second.sendToRunningCopy("message 10001 10207 516", 5000);
        _exit(refused && answered ? 0 : 1);
    }
    int status = -1;
    QElapsedTimer clock;
    clock.start();
    while (waitpid(child, &status, WNOHANG) == 0 && clock.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(received, "message 10001 10207 516");
}

TEST(SingleInstance, ACopyThatDoesNotAnswerIsReportedAsNotAnswering) {
    bp::test::TempFolder runtime;
    SingleInstance first(QString::fromStdString(runtime.path()));
    ASSERT_TRUE(first.acquire());
    // Without its event loop running the first copy never acknowledges.
    SingleInstance second(QString::fromStdString(runtime.path()));
    EXPECT_FALSE(second.acquire());
    EXPECT_FALSE(second.sendToRunningCopy("message 10001 10207 516", 300));
}

TEST(SingleInstance, ALockLeftByADeadCopyIsTakenOver) {
    bp::test::TempFolder runtime;
    const pid_t child = fork();
    if (child == 0) {
        SingleInstance crashed(QString::fromStdString(runtime.path()));
        crashed.acquire();
        _exit(0);  // no clean-up: the lock file stays behind
    }
    int status = 0;
    waitpid(child, &status, 0);
    SingleInstance next(QString::fromStdString(runtime.path()));
    EXPECT_TRUE(next.acquire());
}

}  // namespace
