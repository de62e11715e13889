#include "alarm/AlarmNotification.h"
#include "platform/fake/FakePlatform.h"

#include <gtest/gtest.h>

#include <vector>

using namespace bp;

namespace {

using Action = IDesktopNotifications::Action;

TEST(AlarmNotification, TheBodyIsTheFirstLinesWithTextTrimmedAndCut) {
    struct Case {
        const char* what;
        std::string text;
        std::string lines;
    };
    const Case cases[] = {
        {"empty", "", ""},
        {"blank lines only", "  \n\t\n", ""},
        {"blank lines passed, blanks trimmed", "\n  Call Anna \n\n\tbring the card\t",
         "Call Anna\nbring the card"},
        {"three lines at most", "one\ntwo\nthree\nfour", "one\ntwo\nthree"},
        {"carriage returns", "one\r\ntwo\r\n", "one\ntwo"},
        {"a long line cut with an ellipsis", std::string(101, 'w'),
         std::string(100, 'w') + "\u2026"},
        {"exactly as long as allowed", std::string(100, 'w'), std::string(100, 'w')},
        // Counted in characters, and never cut inside one.
        {"cut between characters", std::string(99, 'w') + "\u00e9\u00e9",
         std::string(99, 'w') + "\u00e9\u2026"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(leadingLines(c.text), c.lines);
    }
}

TEST(AlarmNotification, OffersTheAnswersOfTheStopAlarmWindowUrgentlyAndUntilAnswered) {
    const auto withSnooze = alarmNotification("Dentist", "Call to confirm\n\nbring the card", true);
    EXPECT_EQ(withSnooze.summary, "Dentist");
    EXPECT_EQ(withSnooze.body, "Call to confirm\nbring the card");
    EXPECT_EQ(withSnooze.actions,
              (std::vector<Action>{{"stop", "Stop"}, {"snooze", "Snooze"}, {"show", "Show note"}}));
    EXPECT_EQ(withSnooze.urgency, IDesktopNotifications::Urgency::Critical);
    EXPECT_TRUE(withSnooze.resident);
    EXPECT_EQ(withSnooze.expireTimeoutMs, 0);
    // An alarm without snooze offers none here either.
    EXPECT_EQ(alarmNotification("Dentist", "", false).actions,
              (std::vector<Action>{{"stop", "Stop"}, {"show", "Show note"}}));

    EXPECT_EQ(alarmAnswerFor("stop"), AlarmAnswer::Stop);
    EXPECT_EQ(alarmAnswerFor("snooze"), AlarmAnswer::Snooze);
    EXPECT_EQ(alarmAnswerFor("show"), AlarmAnswer::ShowNote);
    EXPECT_EQ(alarmAnswerFor("default"), std::nullopt);
}

TEST(AlarmNotification, PressesComeBackAsAnswersUntilItIsClosed) {
    fake::FakeDesktopNotifications service;
    std::vector<AlarmAnswer> answers;
    {
        AlarmNotification notification(&service,
                                       [&answers](AlarmAnswer a) { answers.push_back(a); });
        notification.show("Dentist", "Call", true);
        ASSERT_EQ(service.shown.size(), 1u);
        service.invoke(1, "snooze");
        // A click on the notification itself, which no button stands for.
        service.invoke(1, "default");
        EXPECT_EQ(answers, std::vector<AlarmAnswer>{AlarmAnswer::Snooze});

        // Shown again for a new ringing: the first goes.
        notification.show("Dentist", "Call", true);
        EXPECT_EQ(service.closeCalls, std::vector<IDesktopNotifications::Id>{1});
        EXPECT_EQ(service.openCount(), 1u);
    }
    EXPECT_EQ(service.closeCalls, (std::vector<IDesktopNotifications::Id>{1, 2}))
        << "it goes with the ringing";

    // Dismissed by the user: nothing is left to close, and nothing was answered.
    answers.clear();
    {
        AlarmNotification notification(&service,
                                       [&answers](AlarmAnswer a) { answers.push_back(a); });
        notification.show("Dentist", "Call", true);
        service.closedByServer(3, IDesktopNotifications::ClosedReason::DismissedByUser);
        EXPECT_FALSE(notification.shown());
    }
    EXPECT_EQ(service.closeCalls.size(), 2u);
    EXPECT_TRUE(answers.empty());
}

TEST(AlarmNotification, NothingWithoutANotificationService) {
    fake::FakeDesktopNotifications service;
    service.serverRunning = false;
    AlarmNotification unreachable(&service, [](AlarmAnswer) {});
    unreachable.show("Dentist", "Call", true);
    EXPECT_FALSE(unreachable.shown());
    AlarmNotification none(nullptr, [](AlarmAnswer) {});
    none.show("Dentist", "Call", true);
    EXPECT_FALSE(none.shown());
    unreachable.close();
    none.close();
    EXPECT_TRUE(service.closeCalls.empty());
}

}  // namespace
