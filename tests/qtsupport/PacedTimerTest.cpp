#include "qtsupport/PacedTimer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace bp {
namespace {

constexpr int kPeriod = 20;

struct Counting {
    PacedTimer timer;
    PacedTimer other;
    int fired = 0;
    Counting() {
        QObject::connect(&timer, &PacedTimer::fired, [this] { ++fired; });
    }
};

void waitPeriods(int periods) {
    QTest::qWait(kPeriod * periods + kPeriod / 2);
}

// Waits for ticks rather than for a time, so that a loaded machine cannot make it miss them.
bool waitForTicks(const int& fired, int ticks) {
    const int until = fired + ticks;
    return QTest::qWaitFor([&] { return fired >= until; }, 5000);
}

TEST(PacedTimer, SharedTimersFireForEachOwnerAndStopOneByOne) {
    Counting a;
    Counting b;
    a.timer.startShared(kPeriod);
    b.timer.startShared(kPeriod);
    EXPECT_TRUE(a.timer.isActive());
    EXPECT_EQ(a.timer.interval(), kPeriod);
    EXPECT_FALSE(a.other.isActive());
    ASSERT_TRUE(waitForTicks(a.fired, 2));
    ASSERT_TRUE(waitForTicks(b.fired, 2));

    // Stopped, restarted on a timer of its own, or stopped with the rest: each owner alone.
    a.timer.stop();
    EXPECT_FALSE(a.timer.isActive());
    const int aBefore = a.fired;
    ASSERT_TRUE(waitForTicks(b.fired, 3));
    EXPECT_EQ(a.fired, aBefore);

    b.timer.start(60000);
    EXPECT_EQ(b.timer.interval(), 60000);
    a.timer.startShared(kPeriod);
    a.timer.stop();
    const int bOwn = b.fired;
    waitPeriods(3);
    EXPECT_EQ(b.fired, bOwn);
    EXPECT_FALSE(a.timer.isActive());
    b.timer.stop();
    EXPECT_EQ(b.timer.interval(), 0);
}

TEST(PacedTimer, AnOwnerEndedByAnotherOwnersTickIsNotTold) {
    auto first = std::make_unique<Counting>();
    auto second = std::make_unique<Counting>();
    // Whichever is told first ends the other, as an expiring note ends its own window.
    QObject::connect(&first->timer, &PacedTimer::fired, [&] { second.reset(); });
    QObject::connect(&second->timer, &PacedTimer::fired, [&] { first.reset(); });
    first->timer.startShared(kPeriod);
    second->timer.startShared(kPeriod);
    ASSERT_TRUE(QTest::qWaitFor([&] { return first == nullptr || second == nullptr; }, 5000));
    waitPeriods(2);
    EXPECT_TRUE((first == nullptr) != (second == nullptr));
}

}  // namespace
}  // namespace bp
