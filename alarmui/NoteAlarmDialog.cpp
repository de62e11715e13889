#include "AlarmHost.h"
#include "AlarmSettingsDialog.h"
#include "NoteAlarm.h"
#include "alarm/AlarmSettingsModel.h"
#include "platform/Messages.h"
#include "store/NoteAttributes.h"

namespace bp {

void CNoteAlarm::openDialog() {
    if (host_.closing()) {
        return;
    }
    host_.finishTitleEdit();
    // Neither a flash nor the alarm itself may change the alarm under the open dialog.
    stopAlarmTimers();
    host_.beginModal();
    setAlarmDialogOpen(true);

    AlarmSchedule& alarm = reminder();
    AlarmSettingsModel settings;
    settings.Open(alarm, *host_.platform().clock);
    const std::uint32_t expireTime =
        host_.store().GetNote(kLiveSource, host_.nid(), note::expireTime);
    settings.expireTime = expireTime;
    CAlarmDialog dialog(&host_.alarmWindow(), settings, host_.platform());
    const bool confirmed = host_.runModal(dialog) == QDialog::Accepted;
    if (host_.closing()) {
        // The program ended while the dialog was open; the record stays as it was.
        return;
    }
    if (confirmed) {
        settings.Apply(alarm);
        alarm.Store(host_.store(), host_.nid(), *host_.platform().clock);
        if (settings.expireTime != expireTime) {
            host_.store().SetNote(host_.nid(), settings.expireTime, note::expireTime);
        }
    }
    host_.endModal();
    setAlarmDialogOpen(false);
    refreshAlarmButtons();
    startAlarmCheck();
    host_.announceChanged();
}

}  // namespace bp
