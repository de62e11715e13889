#pragma once

#include "alarm/ActionFlags.h"
#include "alarm/AlarmSchedule.h"
#include "alarm/LocalDateTime.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace bp {

class CNotesDatabase;
class IClock;

// How the alarm repeats, as the dialog offers it. The named ones are shortcuts for ticking
// the days and months by hand, which OnTickedDays stands for.
enum class RepeatChoice { Once, EveryDay, MonthlyOnDay, YearlyOnDate, OnTickedDays };

// What the alarm settings dialog shows and edits, kept apart from the note's live alarm: the
// alarm changes only when the dialog is confirmed, so Cancel needs nothing undone.
class AlarmSettingsModel {
public:
    static constexpr int kSnoozeMs = 540000;
    static constexpr int kDefaultFlashTimes = 100;
    static constexpr int kDefaultFlashInterval = 600;
    static constexpr const char* kNoAlarm = "NO ALARM";
    // The snooze lengths offered, in minutes; kSnoozeMs is the one a new snooze gets.
    static constexpr std::array<int, 6> kSnoozeMinutes{5, 9, 10, 15, 30, 60};
    static constexpr int kUpcomingShown = 3;

    // Fills the values from the alarm. The schedule text is read into the alarm's
    // selections first, so the weekday boxes show what is stored.
    void Open(AlarmSchedule& alarm, const IClock& clock);
    // The user changed the date, the time or the weekdays: NEXT ALARM follows them.
    void Picked(const IClock& clock);
    // NEXT ALARM and whether its moment has passed, for the values as they stand now.
    void Refresh(const IClock& clock);
    // "ALARM OFF": the page goes away, the actions beyond pop-up and flash and the weekdays
    // are cleared, and the date and time go back to the present moment.
    void ChooseOff(const IClock& clock);
    // "ALARM ON": the page comes back with what it held, and NEXT ALARM shows it.
    void ChooseOn(const IClock& clock);
    // A choice of how the alarm repeats: the day of the month and the month are the chosen
    // date's. On ticked days with nothing ticked rings every day. Ticking or unticking a
    // day afterwards decides again.
    void ChooseRepeat(RepeatChoice choice, const IClock& clock);
    // The choice that describes the values as they stand.
    RepeatChoice RepeatShown() const;

    // The alarm actions dialog opens with these (the web address falls back to defaultUrl);
    // an alarm without any action offers pop-up and flash.
    AlarmActionsChoice ActionsToShow(const std::string& defaultUrl);
    // The alarm actions dialog was confirmed.
    void TakeActions(const AlarmActionsChoice& choice);

    // OK: the alarm takes the dialog's values; the caller stores them. A recurring alarm whose
    // date is not one of its days starts on the first of its days after that date. What the
    // user left alone is written back as it was loaded.
    void Apply(AlarmSchedule& alarm) const;

    // Whether OK makes a recurring alarm. While the days, weekdays and months are as loaded
    // (or as they were when the kind was last chosen) the alarm keeps that kind, so a daily
    // alarm stays daily; once they differ, a tick makes it repeat and none makes it one-time.
    bool Repeats() const;
    // The ringings OK would lead to, the first of them FirstRinging; none while NEXT ALARM
    // says "NO ALARM".
    std::vector<LocalDateTime> UpcomingRingings(int count = kUpcomingShown) const;
    // The ringing OK would set: the chosen moment, moved to the first of a recurring alarm's
    // days when the chosen date is not one of them.
    LocalDateTime FirstRinging() const;
    // How the alarm repeats, in words, e.g. "Repeats on day 11 of every month".
    std::string RepeatText() const;

    bool alarmOn = true;
    bool pageEnabled = true;  // the tab with its calendar and time picker
    bool snooze = false;
    // The snooze length in milliseconds, kept while the box is unticked so that ticking it
    // again offers the same.
    int snoozeMs = kSnoozeMs;
    std::string nextAlarmText;
    bool passed = false;  // the next ringing lies in the past: OK makes it ring at once
    LocalDateTime when;   // the calendar's date and the time picker's time of day
    std::array<bool, 7> weekdays{};
    ActionFlags flags{};
    std::string soundFile;
    std::string url;
    std::string program;
    int flashTimes = kDefaultFlashTimes;
    int flashInterval = kDefaultFlashInterval;
    std::array<bool, 31> days{};
    std::array<bool, 12> months{};
    // The note's expireTime (0: never). Not part of the alarm: the caller loads and stores it.
    std::uint32_t expireTime = 0;

private:
    struct Selections {
        std::array<bool, 31> days{};
        std::array<bool, 7> weekdays{};
        std::array<bool, 12> months{};
        bool operator==(const Selections&) const = default;
        bool any() const;
    };
    Selections selections() const { return {days, weekdays, months}; }
    // The schedule OK would write, for the search of its ringings.
    AlarmSchedule scheduleShown() const;

    // What was loaded, so that OK writes back unchanged what the user did not touch.
    struct Loaded {
        bool recurring = false;
        Selections selections;
        int snoozeMs = 0;
        int action = 0;
        ActionFlags flags{};
    };
    Loaded loaded_;
    // The kind last chosen by the user and the selections at that moment.
    std::optional<bool> repeatsChosen_;
    Selections chosenWith_;
    // An alarm that was off shows "NO ALARM" until a date, time or weekday is picked.
    bool whenPicked_ = true;
};

// The next ringing as the dialog and the title bar's tip show it.
std::string FormatNextAlarm(const IClock& clock, const LocalDateTime& when);

}  // namespace bp
