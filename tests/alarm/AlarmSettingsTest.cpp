// The rules behind the alarm settings and alarm actions dialogs, without windows.

#include "alarm/ActionFlags.h"
#include "alarm/AlarmSchedule.h"
#include "alarm/AlarmSettingsModel.h"
#include "platform/fake/FakePlatform.h"
#include "store/NoteAttributes.h"
#include "store/NotesDatabase.h"
#include "support/StoreFixture.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace bp {
namespace {

using fake::FakeClock;

ActionFlags flagsOf(std::initializer_list<int> set) {
    ActionFlags f{};
    for (int i : set) {
        f[static_cast<std::size_t>(i)] = true;
    }
    return f;
}

TEST(ActionFlags, DecodeAndEncode) {
    struct Case {
        int stored;
        ActionFlags decoded;
        int encoded;
    };
    using namespace action;
    const Case cases[] = {
        // No action at all is confirmed as pop-up and flash.
        {0, flagsOf({}), 3},
        // Pop-up alone cannot be chosen in the dialog: it comes back with flashing.
        {1, flagsOf({PopUpAndFlash}), 3},
        {2, flagsOf({Flash}), 3},
        {3, flagsOf({PopUpAndFlash, Flash}), 3},
        {8, flagsOf({Beep}), 8},
        {24, flagsOf({Beep, ShutDown}), 24},
        {64 + 4, flagsOf({Read, OpenUrl}), 68},
        {255, flagsOf({0, 1, 2, 3, 4, 5, 6, 7}), 255},
        // Bits above the eight actions are not kept.
        {256 + 32, flagsOf({Play}), 32},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(DecodeActionFlags(c.stored), c.decoded);
        EXPECT_EQ(EncodeActionFlags(c.decoded), c.encoded);
    }
}

TEST(AlarmActionsCheck, ReportsTheFirstProblemAndDropsItsFlag) {
    using namespace action;
    AlarmActionsChoice none;
    EXPECT_EQ(CheckAlarmActions(none), "No alarm actions selected\nPlease select an action");

    // Play, open url and open program all without their text: one problem per OK, in order.
    AlarmActionsChoice all;
    all.flags = flagsOf({Beep, Play, OpenUrl, OpenProgram});
    EXPECT_EQ(CheckAlarmActions(all), "Please select a file for playing");
    EXPECT_FALSE(all.flags[Play]);
    EXPECT_EQ(CheckAlarmActions(all), "Please enter any url");
    EXPECT_FALSE(all.flags[OpenUrl]);
    EXPECT_EQ(CheckAlarmActions(all), "Please select a program or file to open");
    EXPECT_EQ(CheckAlarmActions(all), "");
    EXPECT_EQ(all.flags, flagsOf({Beep}));

    // Only the url ticked and empty: its flag goes, so there is no action left.
    AlarmActionsChoice url;
    url.flags = flagsOf({OpenUrl});
    EXPECT_EQ(CheckAlarmActions(url), "Please enter any url");
    EXPECT_EQ(CheckAlarmActions(url), "No alarm actions selected\nPlease select an action");

    AlarmActionsChoice fine;
    fine.flags = flagsOf({OpenUrl, OpenProgram});
    fine.url = "https://example.org";
    fine.program = "/usr/bin/true";
    EXPECT_EQ(CheckAlarmActions(fine), "");
    EXPECT_EQ(fine.flags, flagsOf({OpenUrl, OpenProgram}));
}

TEST(AlarmActionsCheck, GoOpensOnlyWebAddressesInSmallLetters) {
    const std::pair<const char*, bool> cases[] = {
        {"http://example.org", true},
        {"https://example.org/x?y", true},
        {"HTTP://example.org", false},
        {"Https://example.org", false},
        {"www.example.org", false},
        {"file:///etc/passwd", false},
        {"", false},
        {"http:/", false},
        {" http://x", false},
    };
    for (const auto& [address, opens] : cases) {
        EXPECT_EQ(OpensAsWebAddress(address), opens) << address;
    }
}

class AlarmSettings : public ::testing::Test, public test::StoreFixture {
protected:
    AlarmSettings() {
        fakes.clock.set(2026, 12, 10, 15, 30, 20);  // a Thursday
    }
    AlarmSchedule loaded() {
        AlarmSchedule r;
        r.Load(db, kNid, fakes.clock);
        return r;
    }

    static constexpr std::int32_t kNid = 1;
    CNotesDatabase& db = store;
};

// Everything of the alarm the record holds.
void expectSameAlarm(const AlarmSchedule& a, const AlarmSchedule& b) {
    EXPECT_EQ(a.isReminder, b.isReminder);
    EXPECT_EQ(a.recurring, b.recurring);
    EXPECT_EQ(a.remindTime, b.remindTime);
    EXPECT_EQ(a.remindTime1, b.remindTime1);
    EXPECT_EQ(a.remindTime2, b.remindTime2);
    EXPECT_EQ(a.repeatEach, b.repeatEach);
    EXPECT_EQ(a.remindRepeat, b.remindRepeat);
    EXPECT_EQ(a.remindRepeatTimes, b.remindRepeatTimes);
    EXPECT_EQ(a.remindRepeatInterval, b.remindRepeatInterval);
    EXPECT_EQ(a.remindRepeatInterval2, b.remindRepeatInterval2);
    EXPECT_EQ(a.schedule, b.schedule);
    EXPECT_EQ(a.remindAction, b.remindAction);
    EXPECT_EQ(a.remindSnoozeTime, b.remindSnoozeTime);
    EXPECT_EQ(a.remindFlashTimes, b.remindFlashTimes);
    EXPECT_EQ(a.remindFlashInterval, b.remindFlashInterval);
    EXPECT_EQ(a.remindWav, b.remindWav);
    EXPECT_EQ(a.remindUrl, b.remindUrl);
    EXPECT_EQ(a.remindExe, b.remindExe);
}

TEST_F(AlarmSettings, TheStoredAlarmReadsBackAsItWasAndAnUntouchedOneKeepsItsBytes) {
    ASSERT_TRUE(db.SaveDatabase(""));
    const std::string before = test::readFile(db.DatabasePath());
    for (std::int32_t nid : db.ListNotes(kLiveSource)) {
        AlarmSchedule alarm;
        alarm.Load(db, nid, fakes.clock);
        alarm.Store(db, nid, fakes.clock);
    }
    ASSERT_TRUE(db.SaveDatabase(""));
    EXPECT_EQ(test::readFile(db.DatabasePath()), before);

    AlarmSchedule alarm = loaded();
    alarm.isReminder = 2;
    alarm.recurring = true;
    alarm.remindTime = {2026, 12, 14, 9, 0, 0};
    alarm.remindTime1 = {2026, 12, 11, 7, 15, 0};
    alarm.remindTime2 = {2027, 1, 2, 23, 59, 59};
    alarm.repeatEach = 1;
    alarm.remindRepeat = 1;
    alarm.remindRepeatTimes = 3;
    alarm.remindRepeatInterval = 5;
    alarm.remindRepeatInterval2 = 7;
    alarm.schedule = ";3;!;2;4;!;12;!";
    alarm.remindAction = 8 + 64 + 128;
    alarm.remindSnoozeTime = 540000;
    alarm.remindFlashTimes = 20;
    alarm.remindFlashInterval = 250;
    alarm.remindWav = "/sounds/ring.wav";
    alarm.remindUrl = "http://127.0.0.1/x";
    alarm.remindExe = "/bin/true --quiet";
    alarm.Store(db, kNid, fakes.clock);
    const AlarmSchedule once = loaded();
    expectSameAlarm(once, alarm);
    once.Store(db, kNid, fakes.clock);
    expectSameAlarm(loaded(), once);

    // A one-time alarm that rang keeps nothing of its repetition in the record either.
    AlarmSchedule oneTime = loaded();
    oneTime.isReminder = 1;
    oneTime.recurring = false;
    oneTime.remindTime = localNow(fakes.clock);
    ASSERT_EQ(oneTime.AdvancePastNow(fakes.clock), AlarmOutcome::Rings);
    oneTime.Store(db, kNid, fakes.clock);
    expectSameAlarm(loaded(), oneTime);
}

TEST_F(AlarmSettings, ANoteWithoutAlarmOpensOnTheNowAndConfirmsAOneTimeAlarmDueAtOnce) {
    db.SetNote(kNid, 0, note::isReminder);
    db.SetNote(kNid, 0, note::remindAction);
    db.SetNote(kNid, 0u, note::remindTime);
    AlarmSchedule alarm = loaded();
    AlarmSettingsModel m;
    m.Open(alarm, fakes.clock);
    EXPECT_TRUE(m.alarmOn) << "the dialog offers to switch the alarm on";
    EXPECT_EQ(m.nextAlarmText, "NO ALARM");
    EXPECT_EQ(m.when, (LocalDateTime{2026, 12, 10, 15, 30, 20}));

    m.Apply(alarm);
    alarm.Store(db, kNid, fakes.clock);
    const AlarmSchedule stored = loaded();
    EXPECT_EQ(stored.isReminder, 1);
    EXPECT_EQ(stored.remindAction, 3);
    EXPECT_EQ(db.GetNote(kLiveSource, kNid, note::remindTime),
              static_cast<std::uint32_t>(fakes.clock.now()));
    EXPECT_TRUE(stored.remindTime.notLater(localNow(fakes.clock))) << "due at once";
}

TEST_F(AlarmSettings, RecurringWeekdaysComeBackAndAreWrittenInScheduleForm) {
    db.SetNote(kNid, 2, note::isReminder);
    db.SetNote(kNid, 8, note::remindAction);
    db.SetNote(kNid, std::string(";!;2;4;!;!"), note::schedule);
    fakes.clock.set(2026, 12, 14, 9, 0, 0);
    db.SetNote(kNid, static_cast<std::uint32_t>(fakes.clock.now()), note::remindTime);
    fakes.clock.set(2026, 12, 10, 15, 30, 20);
    AlarmSchedule alarm = loaded();
    AlarmSettingsModel m;
    m.Open(alarm, fakes.clock);
    EXPECT_EQ(m.weekdays, (std::array<bool, 7>{false, true, false, true, false, false, false}));
    EXPECT_EQ(m.nextAlarmText, "Monday, December 14, 2026 09:00:00 AM");
    EXPECT_EQ(m.flags, flagsOf({action::Beep}));

    m.Apply(alarm);
    alarm.Store(db, kNid, fakes.clock);
    const AlarmSchedule stored = loaded();
    EXPECT_EQ(stored.isReminder, 2);
    EXPECT_EQ(stored.schedule, ";!;2;4;!;!");
    EXPECT_EQ(stored.remindAction, 8);
    EXPECT_EQ(stored.remindTime, (LocalDateTime{2026, 12, 14, 9, 0, 0}));
}

TEST_F(AlarmSettings, ARecurringAlarmStartsOnItsOwnDays) {
    struct Case {
        const char* schedule;
        LocalDateTime chosen;
        LocalDateTime first;
    };
    const Case cases[] = {
        // Thursday the 10th, with only Monday ticked: not today, next Monday.
        {";!;2;!;!", {2026, 12, 10, 9, 0, 0}, {2026, 12, 14, 9, 0, 0}},
        // A chosen day that is one of the weekdays stays, also when its time is past.
        {";!;5;!;!", {2026, 12, 10, 9, 0, 0}, {2026, 12, 10, 9, 0, 0}},
        {";!;2;4;!;!", {2026, 12, 15, 7, 30, 0}, {2026, 12, 16, 7, 30, 0}},
        // Days of the month and months kept from the record count as well.
        {";1;!;2;!;!", {2026, 12, 10, 8, 0, 0}, {2027, 2, 1, 8, 0, 0}},
        // No day ever fits: the date stays as chosen, the firing switches the alarm off.
        {";31;!;2;!;2;!", {2026, 12, 10, 8, 0, 0}, {2026, 12, 10, 8, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.schedule);
        db.SetNote(kNid, 2, note::isReminder);
        db.SetNote(kNid, std::string(c.schedule), note::schedule);
        AlarmSchedule alarm = loaded();
        AlarmSettingsModel m;
        m.Open(alarm, fakes.clock);
        m.when = c.chosen;
        m.Apply(alarm);
        EXPECT_EQ(alarm.isReminder, 2);
        EXPECT_EQ(alarm.remindTime, c.first);
    }
}

TEST_F(AlarmSettings, TheWeekdayBoxesChangeTheKindOfAlarmOnlyOnceTheyDiffer) {
    struct Case {
        const char* schedule;
        std::array<bool, 7> weekdays;  // as the user leaves the boxes
        const char* repeatText;
        int isReminder;
        const char* written;
    };
    const Case cases[] = {
        // A daily alarm given Monday repeats on Mondays; given nothing it stays daily.
        {";!;!;!", {false, true}, "Repeats every Monday", 2, ";!;2;!;!"},
        {";!;!;!", {}, "Repeats every day", 2, ";!;!;!"},
        // Unticking the last weekday of a weekly alarm makes it one-time...
        {";!;2;!;!", {}, "Does not repeat", 1, ";!;!;!"},
        // ...unless days of the month still make it repeat.
        {";1;!;2;!;!", {}, "Repeats on day 1 of every month", 2, ";1;!;!;!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.schedule);
        db.SetNote(kNid, 2, note::isReminder);
        db.SetNote(kNid, std::string(c.schedule), note::schedule);
        AlarmSchedule alarm = loaded();
        AlarmSettingsModel m;
        m.Open(alarm, fakes.clock);
        m.weekdays = c.weekdays;
        EXPECT_EQ(m.RepeatText(), c.repeatText);
        m.Apply(alarm);
        EXPECT_EQ(alarm.isReminder, c.isReminder);
        EXPECT_EQ(alarm.schedule, c.written);
    }
}

TEST_F(AlarmSettings, AlarmOffClearsActionsAndWeekdaysButKeepsDaysAndMonths) {
    db.SetNote(kNid, 2, note::isReminder);
    db.SetNote(kNid, 1 + 2 + 8 + 64, note::remindAction);
    db.SetNote(kNid, 540000, note::remindSnoozeTime);
    db.SetNote(kNid, 4, note::remindRepeat);
    db.SetNote(kNid, std::string(";1;15;!;2;!;3;!"), note::schedule);
    AlarmSchedule alarm = loaded();
    AlarmSettingsModel m;
    m.Open(alarm, fakes.clock);
    fakes.clock.seconds += 3600;
    m.ChooseOff(fakes.clock);
    EXPECT_FALSE(m.pageEnabled);
    EXPECT_EQ(m.nextAlarmText, "NO ALARM");
    EXPECT_EQ(m.flags, flagsOf({action::PopUpAndFlash, action::Flash}));
    EXPECT_EQ(m.weekdays, (std::array<bool, 7>{}));
    EXPECT_EQ(m.when, localNow(fakes.clock));

    m.Apply(alarm);
    alarm.Store(db, kNid, fakes.clock);
    const AlarmSchedule stored = loaded();
    EXPECT_EQ(stored.isReminder, 0);
    EXPECT_EQ(stored.remindAction, 0);
    EXPECT_EQ(stored.remindRepeat, 0);
    EXPECT_EQ(stored.schedule, ";1;15;!;!;3;!");
    EXPECT_EQ(stored.remindSnoozeTime, 540000) << "the snooze box was left ticked";
}

TEST_F(AlarmSettings, SnoozeAndFlashValuesAsTheDialogConfirmsThem) {
    struct Case {
        int isReminder, flashTimes, flashInterval;
        bool snooze;
        int wantTimes, wantInterval, wantSnooze;
    };
    const Case cases[] = {
        {1, 5, 300, true, 5, 300, 540000},
        {1, 0, 0, false, 100, 600, 0},
        {1, -4, -1, false, 100, 600, 0},
        // An alarm that is off starts over with the usual number of flashes.
        {0, 5, 300, true, 100, 300, 540000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flashTimes);
        db.SetNote(kNid, c.isReminder, note::isReminder);
        db.SetNote(kNid, c.flashTimes, note::remindFlashTimes);
        db.SetNote(kNid, c.flashInterval, note::remindFlashInterval);
        db.SetNote(kNid, 0, note::remindSnoozeTime);
        AlarmSchedule alarm = loaded();
        AlarmSettingsModel m;
        m.Open(alarm, fakes.clock);
        EXPECT_FALSE(m.snooze);
        m.snooze = c.snooze;
        m.Apply(alarm);
        EXPECT_EQ(alarm.remindFlashTimes, c.wantTimes);
        EXPECT_EQ(alarm.remindFlashInterval, c.wantInterval);
        EXPECT_EQ(alarm.remindSnoozeTime, c.wantSnooze);
    }
}

TEST_F(AlarmSettings, RepeatChoicesSetTheScheduleAndListTheRingingsAhead) {
    using enum RepeatChoice;
    struct Case {
        const char* name;
        int isReminder;
        const char* schedule;
        std::function<void(AlarmSettingsModel&)> user;
        RepeatChoice shown;
        int isReminderAfter;
        const char* written;
        std::vector<LocalDateTime> upcoming;
    };
    // Opened on Thursday 2026-12-10, the alarm set for 15:30:20 that day.
    const Case cases[] = {
        {"monthly",
         0,
         ";!;!;!",
         [&](auto& m) { m.ChooseRepeat(MonthlyOnDay, fakes.clock); },
         MonthlyOnDay,
         2,
         ";10;!;!;!",
         {{2026, 12, 10, 15, 30, 20}, {2027, 1, 10, 15, 30, 20}, {2027, 2, 10, 15, 30, 20}}},
        {"yearly",
         0,
         ";!;!;!",
         [&](auto& m) { m.ChooseRepeat(YearlyOnDate, fakes.clock); },
         YearlyOnDate,
         2,
         ";10;!;!;12;!",
         {{2026, 12, 10, 15, 30, 20}, {2027, 12, 10, 15, 30, 20}, {2028, 12, 10, 15, 30, 20}}},
        {"weekly made daily",
         2,
         ";!;2;!;!",
         [&](auto& m) { m.ChooseRepeat(EveryDay, fakes.clock); },
         EveryDay,
         2,
         ";!;!;!",
         {{2026, 12, 10, 15, 30, 20}, {2026, 12, 11, 15, 30, 20}, {2026, 12, 12, 15, 30, 20}}},
        // One-time keeps the ticks it does not use, and the text with them.
        {"weekly made one-time",
         2,
         ";!;2;!;!",
         [&](auto& m) { m.ChooseRepeat(Once, fakes.clock); },
         Once,
         1,
         ";!;2;!;!",
         {{2026, 12, 10, 15, 30, 20}}},
        {"a tick after one-time repeats again",
         2,
         ";!;2;!;!",
         [&](auto& m) {
             m.ChooseRepeat(Once, fakes.clock);
             m.weekdays[3] = true;
             m.Picked(fakes.clock);
         },
         OnTickedDays,
         2,
         ";!;2;4;!;!",
         {{2026, 12, 14, 15, 30, 20}, {2026, 12, 16, 15, 30, 20}, {2026, 12, 21, 15, 30, 20}}},
        {"the 31st skips short months",
         2,
         ";!;!;!",
         [&](auto& m) {
             m.days[30] = true;
             m.Picked(fakes.clock);
         },
         OnTickedDays,
         2,
         ";31;!;!;!",
         {{2026, 12, 31, 15, 30, 20}, {2027, 1, 31, 15, 30, 20}, {2027, 3, 31, 15, 30, 20}}},
        {"never comes",
         2,
         ";!;!;!",
         [&](auto& m) {
             m.days[30] = true;
             m.months[1] = true;
             m.Picked(fakes.clock);
         },
         OnTickedDays,
         2,
         ";31;!;!;2;!",
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        db.SetNote(kNid, c.isReminder, note::isReminder);
        db.SetNote(kNid, std::string(c.schedule), note::schedule);
        db.SetNote(kNid, static_cast<std::uint32_t>(fakes.clock.now()), note::remindTime);
        AlarmSchedule alarm = loaded();
        AlarmSettingsModel m;
        m.Open(alarm, fakes.clock);
        c.user(m);
        EXPECT_EQ(m.RepeatShown(), c.shown);
        EXPECT_EQ(m.UpcomingRingings(), c.upcoming);
        m.Apply(alarm);
        EXPECT_EQ(alarm.isReminder, c.isReminderAfter);
        EXPECT_EQ(alarm.schedule, c.written);
    }
}

TEST_F(AlarmSettings, SnoozeLengthIsStoredWhileTheBoxIsTicked) {
    struct Case {
        int stored;
        bool snooze;
        int chosenMs;  // 0: left as opened
        int written;
    };
    const Case cases[] = {
        {0, true, 0, 540000},  // nine minutes unless another length is chosen
        {0, true, 5 * 60000, 300000}, {540000, true, 60 * 60000, 3600000},
        {120000, true, 0, 120000},  // a length of the user's own stays
        {300000, false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        db.SetNote(kNid, 1, note::isReminder);
        db.SetNote(kNid, c.stored, note::remindSnoozeTime);
        AlarmSchedule alarm = loaded();
        AlarmSettingsModel m;
        m.Open(alarm, fakes.clock);
        m.snooze = c.snooze;
        if (c.chosenMs != 0) {
            m.snoozeMs = c.chosenMs;
        }
        m.Apply(alarm);
        EXPECT_EQ(alarm.remindSnoozeTime, c.written);
    }
}

TEST_F(AlarmSettings, TheActionsDialogGetsAtLeastPopUpAndTheDefaultAddress) {
    AlarmSchedule alarm = loaded();
    alarm.remindAction = 0;
    alarm.remindUrl.clear();
    alarm.remindExe = "/usr/bin/xmessage";
    AlarmSettingsModel m;
    m.Open(alarm, fakes.clock);
    const AlarmActionsChoice shown = m.ActionsToShow("https://home.example");
    EXPECT_EQ(shown.flags, flagsOf({action::PopUpAndFlash, action::Flash}));
    EXPECT_EQ(shown.url, "https://home.example");
    EXPECT_EQ(shown.program, "/usr/bin/xmessage");

    alarm.remindUrl = "https://mine.example";
    m.Open(alarm, fakes.clock);
    EXPECT_EQ(m.ActionsToShow("https://home.example").url, "https://mine.example");
}

TEST_F(AlarmSettings, EveryAttributeIsWrittenAndReadBack) {
    AlarmSchedule alarm = loaded();
    alarm.isReminder = 1;
    alarm.remindAction = 3 + 128;
    alarm.remindTime = {2030, 1, 2, 3, 4, 5};
    alarm.remindTime1 = {2031, 1, 1, 0, 0, 0};
    alarm.schedule = ";!;!;!";
    alarm.repeatEach = 1;
    alarm.remindSnoozeTime = 540000;
    alarm.remindRepeatInterval2 = 9;
    alarm.remindFlashTimes = 7;
    alarm.remindFlashInterval = 250;
    alarm.remindWav = "a.wav";
    alarm.remindUrl = "https://x.example";
    alarm.remindExe = "/bin/prog";
    alarm.Store(db, kNid, fakes.clock);
    const AlarmSchedule back = loaded();
    EXPECT_EQ(back.isReminder, 1);
    EXPECT_EQ(back.remindAction, 131);
    EXPECT_EQ(back.remindTime, alarm.remindTime);
    EXPECT_EQ(back.remindTime1, alarm.remindTime1);
    EXPECT_EQ(back.repeatEach, 1);
    EXPECT_EQ(back.remindSnoozeTime, 540000);
    EXPECT_EQ(back.remindRepeatInterval2, 9);
    EXPECT_EQ(back.remindFlashTimes, 7);
    EXPECT_EQ(back.remindFlashInterval, 250);
    EXPECT_EQ(back.remindWav, "a.wav");
    EXPECT_EQ(back.remindUrl, "https://x.example");
    EXPECT_EQ(back.remindExe, "/bin/prog");
}

}  // namespace
}  // namespace bp
