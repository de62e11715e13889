#include "qtsupport/NumberedTimers.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace bp {
namespace {

constexpr int kHover = 1;
constexpr int kOther = 2;
constexpr int kPeriod = 20;

struct Counting {
    NumberedTimers timers;
    int fired = 0;
    Counting() {
        QObject::connect(&timers, &NumberedTimers::fired, [this](int id) {
            if (id == kHover) {
                ++fired;
            }
        });
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

TEST(NumberedTimers, SharedTimersFireForEachOwnerAndStopOneByOne) {
    Counting a;
    Counting b;
    a.timers.startShared(kHover, kPeriod);
    b.timers.startShared(kHover, kPeriod);
    EXPECT_TRUE(a.timers.isActive(kHover));
    EXPECT_EQ(a.timers.interval(kHover), kPeriod);
    EXPECT_FALSE(a.timers.isActive(kOther));
    ASSERT_TRUE(waitForTicks(a.fired, 2));
    ASSERT_TRUE(waitForTicks(b.fired, 2));

    // Stopped, restarted on a timer of its own, or stopped with the rest: each owner alone.
    a.timers.stop(kHover);
    EXPECT_FALSE(a.timers.isActive(kHover));
    const int aBefore = a.fired;
    ASSERT_TRUE(waitForTicks(b.fired, 3));
    EXPECT_EQ(a.fired, aBefore);

    b.timers.start(kHover, 60000);
    EXPECT_EQ(b.timers.interval(kHover), 60000);
    a.timers.startShared(kHover, kPeriod);
    a.timers.stopAll();
    const int bOwn = b.fired;
    waitPeriods(3);
    EXPECT_EQ(b.fired, bOwn);
    EXPECT_FALSE(a.timers.isActive(kHover));
}

TEST(NumberedTimers, AnOwnerEndedByAnotherOwnersTickIsNotTold) {
    auto first = std::make_unique<Counting>();
    auto second = std::make_unique<Counting>();
    // Whichever is told first ends the other, as an expiring note ends its own window.
    QObject::connect(&first->timers, &NumberedTimers::fired, [&] { second.reset(); });
    QObject::connect(&second->timers, &NumberedTimers::fired, [&] { first.reset(); });
    first->timers.startShared(kHover, kPeriod);
    second->timers.startShared(kHover, kPeriod);
    ASSERT_TRUE(QTest::qWaitFor([&] { return first == nullptr || second == nullptr; }, 5000));
    waitPeriods(2);
    EXPECT_TRUE((first == nullptr) != (second == nullptr));
}

}  // namespace
}  // namespace bp
