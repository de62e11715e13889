#include "NoteAlarmHost.h"

#include "ReadAloud.h"
#include "Title.h"

namespace bp {

void CNote::AlarmHost::raiseForAlarm() {
    note_.makeTopmost();
    note_.raise();
    note_.TakeFocus(note_.isEdit_ != 0 ? Focus::Body : Focus::Note);
}

void CNote::AlarmHost::beginReading() {
    note_.reading_->beginReading();
}

void CNote::AlarmHost::showAlarmImage(bool on, const QString& tip) {
    note_.title_->setAlarmImage(on, tip);
}

void CNote::AlarmHost::showStopSnooze(bool show) {
    note_.title_->showStopSnooze(show);
}

void CNote::AlarmHost::showExpiration(bool show, const QString& expires) {
    note_.title_->showExpiration(show, expires);
}

void CNote::AlarmHost::refreshTips(const std::optional<QString>& nextAlarm) {
    note_.title_->refreshTooltips(QString::fromStdString(note_.createdText_), nextAlarm);
}

}  // namespace bp
