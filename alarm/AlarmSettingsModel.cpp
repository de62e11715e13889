#include "alarm/AlarmSettingsModel.h"

#include "platform/Clock.h"
#include "platform/TimeText.h"
#include "store/NoteAttributes.h"
#include "store/NotesDatabase.h"

#include <algorithm>
#include <ctime>
#include <vector>

namespace bp {

std::string FormatNextAlarm(const IClock& clock, const LocalDateTime& when) {
    return displayTime(clock, calendarOf(when), TimeStyle::MomentWithWeekday);
}

namespace {

template <std::size_t N>
bool anySelected(const std::array<bool, N>& selected) {
    for (bool s : selected) {
        if (s) {
            return true;
        }
    }
    return false;
}

// "1, 15 and 31"
template <std::size_t N, typename Name>
std::string listSelected(const std::array<bool, N>& selected, Name name,
                         const char* lastJoint = " and ") {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < N; ++i) {
        if (selected[i]) {
            names.push_back(name(i));
        }
    }
    std::string out;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) {
            out += i + 1 == names.size() ? lastJoint : ", ";
        }
        out += names[i];
    }
    return out;
}

const char* const kWeekdayNames[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                      "Thursday", "Friday", "Saturday"};
const char* const kMonthNames[12] = {"January",   "February", "March",    "April",
                                     "May",       "June",     "July",     "August",
                                     "September", "October",  "November", "December"};

}  // namespace

void AlarmSettingsModel::Open(AlarmSchedule& alarm, const IClock& clock) {
    alarmOn = true;
    pageEnabled = true;
    flags = DecodeActionFlags(alarm.remindAction);
    alarm.ParseSchedule(true);
    weekdays = alarm.weekdays;
    days = alarm.days;
    months = alarm.months;
    snooze = alarm.remindSnoozeTime > 0;
    snoozeMs = snooze ? alarm.remindSnoozeTime : kSnoozeMs;
    // An alarm that is off opens as it would after a restart: not recurring.
    loaded_ = {alarm.isReminder > 1, selections(), alarm.remindSnoozeTime, alarm.remindAction,
               flags};
    repeatsChosen_.reset();
    chosenWith_ = loaded_.selections;
    whenPicked_ = alarm.isReminder != 0;
    if (alarm.isReminder != 0) {
        when = alarm.remindTime;
        when.millisecond = 0;
        flashTimes = alarm.remindFlashTimes < 1 ? kDefaultFlashTimes : alarm.remindFlashTimes;
    } else {
        when = localNow(clock);
        flashTimes = kDefaultFlashTimes;
    }
    Refresh(clock);
    flashInterval =
        alarm.remindFlashInterval < 1 ? kDefaultFlashInterval : alarm.remindFlashInterval;
    soundFile = alarm.remindWav;
    url = alarm.remindUrl;
    program = alarm.remindExe;
}

void AlarmSettingsModel::Picked(const IClock& clock) {
    whenPicked_ = true;
    Refresh(clock);
}

void AlarmSettingsModel::Refresh(const IClock& clock) {
    if (!alarmOn || !whenPicked_) {
        nextAlarmText = kNoAlarm;
        passed = false;
        return;
    }
    const LocalDateTime first = FirstRinging();
    nextAlarmText = FormatNextAlarm(clock, first);
    passed = first.earlier(localNow(clock));
}

bool AlarmSettingsModel::Selections::any() const {
    return anySelected(days) || anySelected(weekdays) || anySelected(months);
}

bool AlarmSettingsModel::Repeats() const {
    const Selections now = selections();
    if (now != chosenWith_) {
        return now.any();
    }
    return repeatsChosen_.value_or(loaded_.recurring);
}

void AlarmSettingsModel::ChooseRepeat(RepeatChoice choice, const IClock& clock) {
    const auto onlyDate = [this](bool withMonth) {
        days.fill(false);
        weekdays.fill(false);
        months.fill(false);
        days[static_cast<std::size_t>(when.day - 1)] = true;
        if (withMonth) {
            months[static_cast<std::size_t>(when.month - 1)] = true;
        }
    };
    switch (choice) {
        case RepeatChoice::Once:
        case RepeatChoice::OnTickedDays:
            break;
        case RepeatChoice::EveryDay:
            days.fill(false);
            weekdays.fill(false);
            months.fill(false);
            break;
        case RepeatChoice::MonthlyOnDay:
            onlyDate(false);
            break;
        case RepeatChoice::YearlyOnDate:
            onlyDate(true);
            break;
    }
    repeatsChosen_ = choice != RepeatChoice::Once;
    chosenWith_ = selections();
    Picked(clock);
}

RepeatChoice AlarmSettingsModel::RepeatShown() const {
    if (!Repeats()) {
        return RepeatChoice::Once;
    }
    const Selections now = selections();
    if (!now.any()) {
        return RepeatChoice::EveryDay;
    }
    Selections date;
    date.days[static_cast<std::size_t>(when.day - 1)] = true;
    if (now == date) {
        return RepeatChoice::MonthlyOnDay;
    }
    date.months[static_cast<std::size_t>(when.month - 1)] = true;
    return now == date ? RepeatChoice::YearlyOnDate : RepeatChoice::OnTickedDays;
}

AlarmSchedule AlarmSettingsModel::scheduleShown() const {
    AlarmSchedule schedule;
    schedule.recurring = Repeats();
    schedule.isReminder = schedule.recurring ? 2 : 1;
    schedule.days = days;
    schedule.weekdays = weekdays;
    schedule.months = months;
    return schedule;
}

LocalDateTime AlarmSettingsModel::FirstRinging() const {
    LocalDateTime first = when;
    first.millisecond = 0;
    // A recurring alarm must not ring first on a day that is not one of its own: the calendar
    // still shows today when only the weekdays and the time were picked.
    const std::vector<LocalDateTime> ringings = scheduleShown().Ringings(first, 1);
    // No day ever fits: the date stays as chosen, and the firing switches the alarm off.
    return ringings.empty() ? first : ringings.front();
}

std::vector<LocalDateTime> AlarmSettingsModel::UpcomingRingings(int count) const {
    if (!alarmOn || !whenPicked_) {
        return {};
    }
    LocalDateTime first = when;
    first.millisecond = 0;
    return scheduleShown().Ringings(first, count);
}

std::string AlarmSettingsModel::RepeatText() const {
    if (!Repeats()) {
        return "Does not repeat";
    }
    const bool anyDay = anySelected(days);
    const bool anyWeekday = anySelected(weekdays);
    const bool anyMonth = anySelected(months);
    const auto dayName = [](std::size_t i) { return std::to_string(i + 1); };
    const auto weekdayName = [](std::size_t i) { return std::string(kWeekdayNames[i]); };
    const auto monthName = [](std::size_t i) { return std::string(kMonthNames[i]); };
    std::string text = "Repeats";
    if (anyDay) {
        const bool one = std::count(days.begin(), days.end(), true) == 1;
        text += (one ? " on day " : " on days ") + listSelected(days, dayName);
        text += anyMonth ? " in " + listSelected(months, monthName) : " of every month";
        if (anyWeekday) {
            text += " when it is a " + listSelected(weekdays, weekdayName, " or ");
        }
    } else if (anyWeekday) {
        text += " every " + listSelected(weekdays, weekdayName);
        if (anyMonth) {
            text += " in " + listSelected(months, monthName);
        }
    } else {
        text += " every day";
        if (anyMonth) {
            text += " in " + listSelected(months, monthName);
        }
    }
    return text;
}

void AlarmSettingsModel::ChooseOff(const IClock& clock) {
    alarmOn = false;
    pageEnabled = false;
    nextAlarmText = kNoAlarm;
    passed = false;
    for (int i = action::Read; i <= action::OpenProgram; ++i) {
        flags[static_cast<std::size_t>(i)] = false;
    }
    weekdays.fill(false);
    when = localNow(clock);
}

void AlarmSettingsModel::ChooseOn(const IClock& clock) {
    alarmOn = true;
    pageEnabled = true;
    Picked(clock);
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

void AlarmSettingsModel::Apply(AlarmSchedule& alarm) const {
    alarm.remindTime = FirstRinging();
    alarm.remindSnoozeTime = snooze ? snoozeMs : 0;
    alarm.recurring = alarmOn && Repeats();
    // The repetition values no control shows stay as loaded while the user leaves the
    // alarm's kind and days alone.
    const bool scheduleAsLoaded =
        selections() == loaded_.selections && alarm.recurring == loaded_.recurring;
    if (!scheduleAsLoaded) {
        alarm.remindRepeatTimes = 0;
        alarm.remindRepeatInterval = 0;
        alarm.remindRepeat = 0;
    }
    // The schedule text stays as stored unless a selection changed.
    if (selections() != loaded_.selections) {
        alarm.days = days;
        alarm.weekdays = weekdays;
        alarm.months = months;
        alarm.BuildSchedule();
    }
    alarm.isReminder = !alarmOn ? 0 : (alarm.recurring ? 2 : 1);
    alarm.remindFlashTimes = flashTimes;
    alarm.remindFlashInterval = flashInterval;
    alarm.remindWav = soundFile;
    alarm.remindUrl = url;
    alarm.remindExe = program;
    // Actions the user did not touch stay as stored, pop-up alone among them.
    const bool actionsAsLoaded = flags == loaded_.flags && loaded_.action != 0;
    alarm.remindAction = actionsAsLoaded ? loaded_.action : EncodeActionFlags(flags);
    if (alarm.isReminder == 0) {
        alarm.remindAction = 0;
        alarm.remindRepeat = 0;
    }
}

}  // namespace bp
