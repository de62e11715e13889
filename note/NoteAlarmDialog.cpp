#include "Note.h"
#include "Title.h"
#include "alarm/AlarmSettingsModel.h"
#include "alarmui/AlarmSettingsDialog.h"
#include "platform/Messages.h"

namespace bp {

void CNote::OpenAlarmDialog() {
    if (closing_) {
        return;
    }
    title_->finishEdit();
    // Neither a flash nor the alarm itself may change the alarm under the open dialog.
    StopAlarmTimers();
    BeginModal();
    setAlarmDialogOpen(true);

    CForReminder& alarm = reminder();
    AlarmSettingsModel settings;
    settings.Open(alarm, *platform_.clock);
    CAlarmDialog dialog(this, settings, platform_);
    const bool confirmed = runModal(dialog) == QDialog::Accepted;
    if (closing_) {
        // The program ended while the dialog was open; the record stays as it was.
        return;
    }
    if (confirmed) {
        settings.Apply(alarm);
        alarm.Store(store_, nid_, *platform_.clock);
    }
    EndModal();
    setAlarmDialogOpen(false);
    RefreshAlarmButtons();
    StartAlarmCheck();
    announceChanged();
}

}  // namespace bp
