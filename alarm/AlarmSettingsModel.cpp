#include "alarm/AlarmSettingsModel.h"

#include "platform/Clock.h"
#include "platform/TimeText.h"
#include "store/NoteAttributes.h"
#include "store/NotesDatabase.h"

#include <ctime>

namespace bp {

std::string FormatNextAlarm(const IClock& clock, const LocalDateTime& when) {
    return displayTime(clock, calendarOf(when), TimeStyle::MomentWithWeekday);
}

void AlarmSettingsModel::Open(CForReminder& alarm, const IClock& clock) {
    alarmOn = true;
    pageEnabled = true;
    flags = DecodeActionFlags(alarm.remindAction);
    alarm.ParseSchedule(true);
    weekdays = alarm.weekdays;
    snooze = alarm.remindSnoozeTime > 0;
    if (alarm.isReminder != 0) {
        when = alarm.remindTime;
        when.millisecond = 0;
        nextAlarmText = FormatNextAlarm(clock, when);
        flashTimes = alarm.remindFlashTimes < 1 ? kDefaultFlashTimes : alarm.remindFlashTimes;
    } else {
        when = localNow(clock);
        nextAlarmText = kNoAlarm;
        flashTimes = kDefaultFlashTimes;
    }
    flashInterval =
        alarm.remindFlashInterval < 1 ? kDefaultFlashInterval : alarm.remindFlashInterval;
    soundFile = alarm.remindWav;
    url = alarm.remindUrl;
    program = alarm.remindExe;
}

void AlarmSettingsModel::ChooseOff(const IClock& clock) {
    alarmOn = false;
    pageEnabled = false;
    nextAlarmText = kNoAlarm;
    for (int i = action::Read; i <= action::OpenProgram; ++i) {
        flags[static_cast<std::size_t>(i)] = false;
    }
    weekdays.fill(false);
    when = localNow(clock);
}

void AlarmSettingsModel::ChooseOn() {
    alarmOn = true;
    pageEnabled = true;
}

AlarmActionsChoice AlarmSettingsModel::ActionsToShow(const std::string& defaultUrl) {
    if (!AnyAction(flags)) {
        flags[action::PopUpAndFlash] = true;
        flags[action::Flash] = true;
    }
    AlarmActionsChoice choice;
    choice.flags = flags;
    choice.soundFile = soundFile;
    choice.url = url.empty() ? defaultUrl : url;
    choice.program = program;
    return choice;
}

void AlarmSettingsModel::TakeActions(const AlarmActionsChoice& choice) {
    flags = choice.flags;
    soundFile = choice.soundFile;
    url = choice.url;
    program = choice.program;
}

void AlarmSettingsModel::Apply(CForReminder& alarm) const {
    alarm.remindTime = when;
    alarm.remindTime.millisecond = 0;
    alarm.remindSnoozeTime = snooze ? kSnoozeMs : 0;
    alarm.weekdays = weekdays;
    alarm.recurring = false;
    for (bool day : weekdays) {
        alarm.recurring = alarm.recurring || day;
    }
    alarm.remindRepeatTimes = 0;
    alarm.remindRepeatInterval = 0;
    alarm.remindRepeat = 0;
    alarm.BuildSchedule();
    if (alarm.recurring) {
        // A weekly alarm must not ring first on a day that was not chosen: the calendar
        // still shows today when only the weekdays and the time were picked.
        LocalDateTime day = alarm.remindTime;
        for (int i = 0; i < CForReminder::kSearchDays && !alarm.Matches(day); ++i) {
            day = day.nextDayAt(alarm.remindTime);
        }
        if (alarm.Matches(day)) {
            alarm.remindTime = day;
        }
    }
    alarm.isReminder = !alarmOn ? 0 : (alarm.recurring ? 2 : 1);
    alarm.remindFlashTimes = flashTimes;
    alarm.remindFlashInterval = flashInterval;
    alarm.remindWav = soundFile;
    alarm.remindUrl = url;
    alarm.remindExe = program;
    alarm.remindAction = EncodeActionFlags(flags);
    if (alarm.isReminder == 0) {
        alarm.remindAction = 0;
        alarm.remindRepeat = 0;
    }
}

void StoreAlarmSettings(CNotesDatabase& db, std::int32_t nid, const CForReminder& alarm,
                        const IClock& clock) {
    db.SetNote(nid, alarm.isReminder, note::isReminder);
    db.SetNote(nid, alarm.remindRepeat, note::remindRepeat);
    db.SetNote(nid, alarm.remindAction, note::remindAction);
    db.SetNote(nid, toStored(clock, alarm.remindTime), note::remindTime);
    db.SetNote(nid, toStored(clock, alarm.remindTime1), note::remindTime1);
    db.SetNote(nid, toStored(clock, alarm.remindTime2), note::remindTime2);
    db.SetNote(nid, alarm.schedule, note::schedule);
    db.SetNote(nid, alarm.repeatEach, note::repeatEach);
    db.SetNote(nid, alarm.remindSnoozeTime, note::remindSnoozeTime);
    db.SetNote(nid, alarm.remindRepeatTimes, note::remindRepeatTimes);
    db.SetNote(nid, alarm.remindRepeatInterval, note::remindRepeatInterval);
    db.SetNote(nid, alarm.remindRepeatInterval2, note::remindRepeatInterval2);
    db.SetNote(nid, alarm.remindFlashTimes, note::remindFlashTimes);
    db.SetNote(nid, alarm.remindFlashInterval, note::remindFlashInterval);
    db.SetNote(nid, alarm.remindWav, note::remindWav);
    db.SetNote(nid, alarm.remindUrl, note::remindUrl);
    db.SetNote(nid, alarm.remindExe, note::remindExe);
}

}  // namespace bp
