#pragma once

#include "alarm/ActionFlags.h"
#include "alarm/AlarmSchedule.h"
#include "alarm/LocalDateTime.h"

#include <array>
#include <cstdint>
#include <string>

namespace bp {

class CNotesDatabase;
class IClock;

// What the alarm settings dialog shows and edits, kept apart from the note's live alarm: the
// alarm changes only when the dialog is confirmed, so Cancel needs nothing undone.
class AlarmSettingsModel {
public:
    static constexpr int kSnoozeMs = 540000;
    static constexpr int kDefaultFlashTimes = 100;
    static constexpr int kDefaultFlashInterval = 600;
    static constexpr const char* kNoAlarm = "NO ALARM";

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

    // The alarm actions dialog opens with these (the web address falls back to defaultUrl);
    // an alarm without any action offers pop-up and flash.
    AlarmActionsChoice ActionsToShow(const std::string& defaultUrl);
    // The alarm actions dialog was confirmed.
    void TakeActions(const AlarmActionsChoice& choice);

    // OK: the alarm takes the dialog's values; the caller stores them. A recurring alarm whose
    // date is not one of its days starts on the first of its days after that date. What the
    // user left alone is written back as it was loaded.
    void Apply(AlarmSchedule& alarm) const;

    // Whether OK makes a recurring alarm. The weekday boxes are the only recurrence the dialog
    // edits: while they are as loaded, the alarm keeps the kind it had, so a daily alarm or one
    // on days of the month stays what it is.
    bool Repeats() const;
    // The ringing OK would set: the chosen moment, moved to the first of a recurring alarm's
    // days when the chosen date is not one of them.
    LocalDateTime FirstRinging() const;
    // How the alarm repeats, in words, e.g. "Repeats on day 11 of every month".
    std::string RepeatText() const;

    bool alarmOn = true;
    bool pageEnabled = true;  // the tab with its calendar and time picker
    bool snooze = false;
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
    // Kept from the schedule as loaded: no control edits them.
    std::array<bool, 31> days{};
    std::array<bool, 12> months{};

private:
    // What was loaded, so that OK writes back unchanged what the user did not touch.
    struct Loaded {
        bool recurring = false;
        std::array<bool, 7> weekdays{};
        int snoozeMs = 0;
        int action = 0;
        ActionFlags flags{};
    };
    Loaded loaded_;
    // An alarm that was off shows "NO ALARM" until a date, time or weekday is picked.
    bool whenPicked_ = true;
};

// The next ringing as the dialog and the title bar's tip show it.
std::string FormatNextAlarm(const IClock& clock, const LocalDateTime& when);

}  // namespace bp
