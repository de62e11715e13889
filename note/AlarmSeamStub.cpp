// Minimal alarm members so the alarm dialog builds and runs on its own; the firing work
// brings the real ones.

#include "Note.h"
#include "Title.h"
#include "alarm/AlarmSettingsModel.h"
#include "platform/Messages.h"
#include "qtsupport/NumberedTimers.h"

namespace bp {

CForReminder& CNote::reminder() {
    if (!seamReminderLoaded_) {
        seamReminder_.Load(store_, nid_, *platform_.clock);
        seamReminderLoaded_ = true;
    }
    return seamReminder_;
}

void CNote::StopAlarmTimers() {
    timers_->stop(timer::NOTE_FLASH);
    timers_->stop(timer::NOTE_ALARM_CHECK);
}

void CNote::StartAlarmCheck() {
    const CForReminder& alarm = reminder();
    if (alarm.isReminder != 0 && alarm.remindAction != 0 && !seamAlarmDialogOpen_) {
        timers_->start(timer::NOTE_ALARM_CHECK, 1000);
    }
}

void CNote::setAlarmDialogOpen(bool open) {
    seamAlarmDialogOpen_ = open;
}

bool CNote::alarmDialogOpen() const {
    return seamAlarmDialogOpen_;
}

void CNote::RefreshAlarmButtons() {
    const CForReminder& alarm = reminder();
    const bool on = alarm.isReminder != 0;
    title_->setAlarmImage(on, on ? QStringLiteral("Alarm ON\n") : QStringLiteral("Alarm Off"));
    std::optional<QString> next;
    if (on) {
        next = QString::fromStdString(FormatNextAlarm(*platform_.clock, alarm.remindTime));
    }
    title_->RefreshTooltips(QString::fromStdString(createdText_), next);
}

void CNote::RunAlarmActions() {}

}  // namespace bp
