#include "alarm/AlarmSchedule.h"
#include "platform/Clock.h"
#include "platform/fake/FakePlatform.h"
#include "store/NoteAttributes.h"
#include "store/NotesDatabase.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

using bp::AlarmOutcome;
using bp::AlarmSchedule;
using bp::LocalDateTime;
using bp::fake::FakeClock;

namespace bp {
// Readable failures: "2026-12-07 09:00:00.000".
void PrintTo(const LocalDateTime& t, std::ostream* os) {
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second, t.millisecond);
    *os << text;
}
}  // namespace bp

namespace {

LocalDateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return {y, mo, d, h, mi, s, 0};
}

std::vector<int> selected(const auto& set) {
    std::vector<int> out;
    for (std::size_t i = 0; i < set.size(); ++i) {
        if (set[i]) {
            out.push_back(static_cast<int>(i) + 1);
        }
    }
    return out;
}

// ---- Schedule text -------------------------------------------------------------------------

struct ParseCase {
    const char* name;
    std::string text;
    std::vector<int> days, weekdays, months;
};

class ScheduleText : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ScheduleText, ParsesTheSelections) {
    const ParseCase& c = GetParam();
    AlarmSchedule r;
    r.schedule = c.text;
    r.ParseSchedule(false);
    EXPECT_EQ(selected(r.days), c.days);
    EXPECT_EQ(selected(r.weekdays), c.weekdays);
    EXPECT_EQ(selected(r.months), c.months);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScheduleText,
    ::testing::Values(
        ParseCase{"Empty", "", {}, {}, {}}, ParseCase{"NothingSelected", ";!;!;!", {}, {}, {}},
        ParseCase{"DaysAndMonths", ";1;15;!;!;3;9;!", {1, 15}, {}, {3, 9}},
        ParseCase{"MondayFriday", ";!;2;6;!;!", {}, {2, 6}, {}},
        ParseCase{"MissingLastBang", ";!;2;6", {}, {}, {}},
        // Without its second "!" the weekday text must not be read as months.
        ParseCase{"MissingMiddleBang", ";5;!;2;6;", {5}, {}, {}},
        ParseCase{"NumberWithoutSemicolon", ";7;8!;!;!", {7}, {}, {}},
        ParseCase{
            "JunkAndOutOfRange", ";x;0;32;-3;12abc; 4;!;0;8;7;!;13;-1;12;!", {4, 12}, {7}, {12}},
        ParseCase{"HugeNumbers",
                  ";99999999999999999999999;-99999999999999999999;2;!;4294967298;!;4294967297;!",
                  {2},
                  {},
                  {}},
        ParseCase{"TextAfterThirdBangIgnored", ";!;!;1;!;5;!", {}, {}, {1}},
        ParseCase{"NoBangAtAll", ";1;2;3;4;", {}, {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScheduleText, ParsingOnlyAddsAndBuildRoundTrips) {
    AlarmSchedule r;
    r.weekdays[0] = true;  // Sunday, ticked before parsing
    r.schedule = ";1;15;!;2;6;!;3;9;!";
    r.ParseSchedule(false);
    EXPECT_EQ(selected(r.weekdays), (std::vector<int>{1, 2, 6}));
    r.BuildSchedule();
    EXPECT_EQ(r.schedule, ";1;15;!;1;2;6;!;3;9;!");

    AlarmSchedule empty;
    empty.BuildSchedule();
    EXPECT_EQ(empty.schedule, ";!;!;!");
}

TEST(ScheduleText, MatchesOnlyExactSelections) {
    AlarmSchedule r;
    r.schedule = ";1;15;!;!;3;9;!";
    r.ParseSchedule(false);
    EXPECT_TRUE(r.Matches(at(2027, 3, 1)));
    EXPECT_TRUE(r.Matches(at(2027, 9, 15)));
    EXPECT_FALSE(r.Matches(at(2027, 3, 5)));
    EXPECT_FALSE(r.Matches(at(2027, 3, 25)));
    EXPECT_FALSE(r.Matches(at(2027, 11, 1)));
    // 2026-12-07 is a Monday.
    AlarmSchedule monday;
    monday.weekdays[1] = true;
    EXPECT_TRUE(monday.Matches(at(2026, 12, 7)));
    EXPECT_FALSE(monday.Matches(at(2026, 12, 8)));
}

// ---- The next ringing ----------------------------------------------------------------------

struct AdvanceCase {
    const char* name;
    int isReminder;
    std::string schedule;
    int repeatEach;
    LocalDateTime remindTime;
    LocalDateTime now;
    AlarmOutcome outcome;
    LocalDateTime next;
    int isReminderAfter;
};

class NextRinging : public ::testing::TestWithParam<AdvanceCase> {};

TEST_P(NextRinging, IsFoundFromThePresentMoment) {
    const AdvanceCase& c = GetParam();
    FakeClock clock;
    clock.set(c.now.year, c.now.month, c.now.day, c.now.hour, c.now.minute, c.now.second);
    AlarmSchedule r;
    r.isReminder = c.isReminder;
    r.recurring = c.isReminder > 1;
    r.schedule = c.schedule;
    r.repeatEach = c.repeatEach;
    r.remindTime = c.remindTime;
    r.remindAction = 3;
    r.remindRepeat = 5;
    r.remindRepeatTimes = 6;

    EXPECT_EQ(r.AdvanceAlarm(clock), c.outcome);
    EXPECT_EQ(r.remindTime.withTimeOf(c.remindTime), r.remindTime) << "time of day kept";
    if (c.outcome == AlarmOutcome::Rings) {
        EXPECT_EQ(r.remindTime, c.next);
        EXPECT_EQ(r.remindAction, 3);
    } else {
        EXPECT_EQ(r.remindAction, 0);
    }
    EXPECT_EQ(r.isReminder, c.isReminderAfter);
    if (c.isReminderAfter == 0) {
        EXPECT_EQ(r.remindRepeat, 0);
        EXPECT_EQ(r.remindRepeatTimes, 0);
    } else {
        EXPECT_EQ(r.remindRepeat, 5);
    }
}

constexpr auto kRings = AlarmOutcome::Rings;
constexpr auto kOff = AlarmOutcome::SwitchedOff;
const char* const kMonday = ";!;2;!;!";

INSTANTIATE_TEST_SUITE_P(
    Cases, NextRinging,
    ::testing::Values(
        AdvanceCase{"WeeklyOnTime", 2, kMonday, 0, at(2026, 12, 7, 9), at(2026, 12, 7, 9), kRings,
                    at(2026, 12, 14, 9), 2},
        AdvanceCase{"WeeklyThirtySecondsLate", 2, kMonday, 0, at(2026, 12, 7, 9),
                    at(2026, 12, 7, 9, 0, 30), kRings, at(2026, 12, 14, 9), 2},
        AdvanceCase{"RepeatEachKeepsTheSameTime", 2, kMonday, 1, at(2026, 12, 7, 9),
                    at(2026, 12, 7, 9), kRings, at(2026, 12, 7, 9), 2},
        AdvanceCase{"DailyWithEmptySets", 2, ";!;!;!", 0, at(2020, 1, 1, 7, 15), at(2026, 12, 7, 6),
                    kRings, at(2026, 12, 7, 7, 15), 2},
        AdvanceCase{"OneTimeSwitchesOff", 1, "", 0, at(2026, 12, 8, 14), at(2026, 12, 8, 14),
                    kRings, at(2026, 12, 9, 14), 0},
        // Started a year before a leap year, in March: found in 2028.
        AdvanceCase{"TwentyNinthOfFebruary", 2, ";29;!;!;2;!", 0, at(2027, 3, 1, 8),
                    at(2027, 3, 1, 8), kRings, at(2028, 2, 29, 8), 2},
        AdvanceCase{"ThirtyFirstIsSkippedNotMoved", 2, ";31;!;!;!", 0, at(2026, 11, 1, 8),
                    at(2026, 11, 1, 8), kRings, at(2026, 12, 31, 8), 2},
        AdvanceCase{"ThirtyFirstOfFebruaryNeverComes",
                    2,
                    ";31;!;!;2;!",
                    0,
                    at(2026, 1, 1, 8),
                    at(2026, 1, 1, 8),
                    kOff,
                    {},
                    0},
        // A one-time alarm left with such a selection still rings once.
        AdvanceCase{"OneTimeWithAnImpossibleSelectionRings", 1, ";31;!;!;2;!", 0, at(2026, 1, 1, 8),
                    at(2026, 1, 1, 8), kRings, at(2026, 1, 2, 8), 0},
        // A new note's time 0 is 1970 at midnight; only its time of day is used.
        AdvanceCase{"RemindTimeZero", 2, "", 0, at(1970, 1, 1), at(2026, 12, 7, 12), kRings,
                    at(2026, 12, 8), 2},
        // Clock set forward past several Mondays: one ringing, the next one after now.
        AdvanceCase{"ClockJumpedForward", 2, kMonday, 0, at(2026, 11, 2, 9),
                    at(2026, 12, 9, 23, 59, 30), kRings, at(2026, 12, 14, 9), 2},
        AdvanceCase{"YearEndRollsOver", 2, ";1;!;!;1;!", 0, at(2026, 1, 1, 0, 1),
                    at(2026, 12, 31, 23, 59, 50), kRings, at(2027, 1, 1, 0, 1), 2},
        // Inside the minute the search skips, today's ringing is too early: next year's.
        AdvanceCase{"WithinTheSkippedMinute", 2, ";1;!;!;1;!", 0, at(2026, 1, 1, 0, 0, 30),
                    at(2026, 12, 31, 23, 59, 50), kRings, at(2028, 1, 1, 0, 0, 30), 2},
        AdvanceCase{"JunkScheduleMeansEveryDay", 2, "garbage!!!", 0, at(2026, 1, 1, 10),
                    at(2026, 12, 7, 10), kRings, at(2026, 12, 8, 10), 2}),
    [](const auto& info) { return std::string(info.param.name); });

// The alarm check's step: whatever repeatEach says, the next ringing lies after the present
// second, so the ringing being handled cannot be due again a second later.
TEST(NextRingingForTheCheck, LiesAfterThePresentSecond) {
    struct Case {
        const char* name;
        int repeatEach;
        LocalDateTime now;
        LocalDateTime next;
    };
    const Case cases[] = {
        {"RepeatEachAtTheSecond", 1, at(2026, 12, 7, 9), at(2026, 12, 14, 9)},
        {"RepeatEachBeforeTheSecond", 1, at(2026, 12, 7, 8, 59, 59), at(2026, 12, 7, 9)},
        {"NoRepeatEachAtTheSecond", 0, at(2026, 12, 7, 9), at(2026, 12, 14, 9)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeClock clock;
        clock.set(c.now.year, c.now.month, c.now.day, c.now.hour, c.now.minute, c.now.second);
        AlarmSchedule r;
        r.isReminder = 2;
        r.recurring = true;
        r.schedule = kMonday;
        r.repeatEach = c.repeatEach;
        r.remindTime = at(2026, 12, 7, 9);
        r.remindAction = 3;
        EXPECT_EQ(r.AdvancePastNow(clock), kRings);
        EXPECT_EQ(r.remindTime, c.next);
        EXPECT_EQ(r.isReminder, 2);
    }
}

TEST(NextRinging, RewritesTheScheduleInItsOwnForm) {
    FakeClock clock;
    clock.set(2026, 12, 7, 9);
    AlarmSchedule r;
    r.isReminder = 2;
    r.recurring = true;
    r.remindTime = at(2026, 12, 7, 9);
    r.schedule = ";15;1;x;!;6;2;!;";
    r.AdvanceAlarm(clock);
    EXPECT_EQ(r.schedule, ";1;15;!;2;6;!;!");
}

// The ringings the alarm dialog lists ahead are the ones the firings then pick.
TEST(UpcomingRingings, AreTheOnesTheFiringsPick) {
    struct Case {
        const char* name;
        int isReminder;
        std::string schedule;
        LocalDateTime first;
        std::vector<LocalDateTime> ringings;
    };
    const Case cases[] = {
        {"OneTime", 1, ";!;!;!", at(2026, 12, 10, 15), {at(2026, 12, 10, 15)}},
        {"Daily",
         2,
         ";!;!;!",
         at(2026, 12, 31, 23, 59, 59),
         {at(2026, 12, 31, 23, 59, 59), at(2027, 1, 1, 23, 59, 59), at(2027, 1, 2, 23, 59, 59)}},
        // Chosen on a Thursday: the first ringing waits for Monday.
        {"Weekly",
         2,
         kMonday,
         at(2026, 12, 10, 9),
         {at(2026, 12, 14, 9), at(2026, 12, 21, 9), at(2026, 12, 28, 9)}},
        {"ThirtyFirstSkipsShortMonths",
         2,
         ";31;!;!;!",
         at(2026, 11, 1, 8),
         {at(2026, 12, 31, 8), at(2027, 1, 31, 8), at(2027, 3, 31, 8)}},
        {"LeapDay",
         2,
         ";29;!;!;2;!",
         at(2027, 3, 1, 8),
         {at(2028, 2, 29, 8), at(2032, 2, 29, 8), at(2036, 2, 29, 8)}},
        {"DaysInChosenMonths",
         2,
         ";1;15;!;!;3;9;!",
         at(2026, 12, 10, 8),
         {at(2027, 3, 1, 8), at(2027, 3, 15, 8), at(2027, 9, 1, 8)}},
        {"FridayTheThirteenth",
         2,
         ";13;!;6;!;!",
         at(2026, 12, 10, 8),
         {at(2027, 8, 13, 8), at(2028, 10, 13, 8), at(2029, 4, 13, 8)}},
        {"NeverComes", 2, ";31;!;!;2;!", at(2026, 1, 1, 8), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AlarmSchedule r;
        r.isReminder = c.isReminder;
        r.recurring = c.isReminder > 1;
        r.schedule = c.schedule;
        r.ParseSchedule(false);
        EXPECT_EQ(r.Ringings(c.first, 3), c.ringings);
        if (!r.recurring || c.ringings.empty()) {
            continue;
        }
        // Each firing, on time, moves the alarm to the next ringing listed.
        r.remindTime = c.ringings.front();
        r.remindAction = 3;
        for (std::size_t i = 1; i < c.ringings.size(); ++i) {
            const LocalDateTime& now = c.ringings[i - 1];
            FakeClock clock;
            clock.set(now.year, now.month, now.day, now.hour, now.minute, now.second);
            ASSERT_EQ(r.AdvancePastNow(clock), kRings);
            EXPECT_EQ(r.remindTime, c.ringings[i]);
        }
    }
}

// ---- Local date-times ----------------------------------------------------------------------

TEST(LocalDateTimes, EqualWithinHalfASecond) {
    LocalDateTime a = at(2026, 12, 31, 23, 59, 59);
    LocalDateTime b = a;
    b.millisecond = 499;
    EXPECT_TRUE(a.sameAs(b));
    EXPECT_TRUE(b.notLater(a)) << "equal counts as not later";
    EXPECT_TRUE(a.earlier(b)) << "earlier has no tolerance";
    b.millisecond = 500;
    EXPECT_FALSE(a.sameAs(b));
    EXPECT_FALSE(b.notLater(a));
    EXPECT_EQ(a.plusSeconds(1), at(2027, 1, 1));
    EXPECT_EQ(at(2028, 2, 28, 5).nextDayAt(at(1970, 1, 1, 6, 7, 8)), at(2028, 2, 29, 6, 7, 8));
    EXPECT_EQ(at(2026, 12, 6).dayOfWeek(), 1);  // a Sunday
    EXPECT_EQ(at(1969, 12, 31).dayOfWeek(), 4);
}

// Runs a test body with TZ set, and puts the old zone back afterwards.
class InTimeZone {
public:
    explicit InTimeZone(const char* zone) {
        if (const char* old = std::getenv("TZ")) {
            saved_ = old;
        }
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~InTimeZone() {
        if (saved_) {
            ::setenv("TZ", saved_->c_str(), 1);
        } else {
            ::unsetenv("TZ");
        }
        ::tzset();
    }

private:
    std::optional<std::string> saved_;
};

// The C library's local time, at a moment the test chooses.
class ZoneClock : public bp::IClock {
public:
    std::int64_t now() const override { return seconds; }
    std::uint64_t tickCount() const override { return 0; }
    std::tm localTime(std::int64_t s) const override { return system.localTime(s); }
    std::int64_t makeTime(std::tm local) const override { return system.makeTime(local); }
    std::string format(const std::string& p, const std::tm& t, std::size_t n) const override {
        return system.format(p, t, n);
    }
    bp::SystemClock system;
    std::int64_t seconds = 0;
};

TEST(LocalDateTimes, DaylightSavingChangeKeepsTheTimeOfDay) {
    InTimeZone berlin("Europe/Berlin");
    ZoneClock clock;
    // Daily at 09:00, fired on the Saturday before summer time starts (Sunday 2027-03-28).
    const std::uint32_t saturdayNine = 1806134400;  // 2027-03-27 08:00:00 UTC
    clock.seconds = saturdayNine;
    AlarmSchedule r;
    r.isReminder = 2;
    r.recurring = true;
    r.remindTime = bp::toLocal(clock, saturdayNine);
    ASSERT_EQ(r.remindTime, at(2027, 3, 27, 9));

    ASSERT_EQ(r.AdvanceAlarm(clock), AlarmOutcome::Rings);
    EXPECT_EQ(r.remindTime, at(2027, 3, 28, 9));
    // 23 hours later in absolute time, 09:00 on the clock face.
    EXPECT_EQ(bp::toStored(clock, r.remindTime), saturdayNine + 23 * 3600);

    // And back: the autumn change gives a 25-hour day.
    clock.seconds = 1824879600;  // 2027-10-30 09:00 CEST
    r.remindTime = bp::toLocal(clock, 1824879600);
    ASSERT_EQ(r.remindTime, at(2027, 10, 30, 9));
    ASSERT_EQ(r.AdvanceAlarm(clock), AlarmOutcome::Rings);
    EXPECT_EQ(bp::toStored(clock, r.remindTime), 1824879600u + 25 * 3600);
}

// ---- Loading from the note's record --------------------------------------------------------

TEST(LoadAlarm, ReadsTheNotesAttributes) {
    bp::test::TempFolder folder;
    bp::fake::FakePlatform fakes;
    bp::CNotesDatabase db(fakes.platform());
    db.SetDataFolder(folder.path());
    ASSERT_TRUE(db.OpenDatabase(0));
    namespace note = bp::note;
    const std::int32_t nid = 1;
    db.SetNote(nid, 2, note::isReminder);
    db.SetNote(nid, std::string(";!;2;!;!"), note::schedule);
    db.SetNote(nid, 3000000000u, note::remindTime);  // beyond 2038: read back unsigned
    db.SetNote(nid, 0u, note::remindTime1);
    db.SetNote(nid, 540000, note::remindSnoozeTime);
    db.SetNote(nid, 7, note::remindRepeatInterval2);
    db.SetNote(nid, std::string("a.wav"), note::remindWav);
    db.SetNote(nid, std::string("http://x"), note::remindUrl);

    FakeClock clock;  // local time is UTC
    AlarmSchedule r;
    r.Load(db, nid, clock);
    EXPECT_EQ(r.isReminder, 2);
    EXPECT_TRUE(r.recurring);
    EXPECT_EQ(r.schedule, ";!;2;!;!");
    EXPECT_EQ(selected(r.weekdays), std::vector<int>{}) << "selections wait for the firing";
    EXPECT_EQ(r.remindTime, at(2065, 1, 24, 5, 20));
    EXPECT_EQ(r.remindTime1, at(1970, 1, 1));
    EXPECT_EQ(r.remindSnoozeTime, 540000);
    EXPECT_EQ(r.remindRepeatInterval2, 7);
    EXPECT_EQ(r.remindWav, "a.wav");
    EXPECT_EQ(r.remindUrl, "http://x");
    EXPECT_EQ(bp::toStored(clock, r.remindTime), 3000000000u);

    db.SetNote(nid, 7, note::isReminder);
    r.Load(db, nid, clock);
    EXPECT_TRUE(r.recurring) << "any value above 1 is recurring";
    db.SetNote(nid, 1, note::isReminder);
    r.Load(db, nid, clock);
    EXPECT_FALSE(r.recurring);
}

}  // namespace
