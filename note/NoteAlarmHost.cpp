#include "NoteAlarmHost.h"

#include "NoteAccessibility.h"
#include "NoteBody.h"
#include "ReadAloud.h"
#include "Title.h"

namespace bp {

QString CNote::AlarmHost::readableName() const {
    return readableNoteName(note_.title_ != nullptr ? note_.title_->titleText() : QString(),
                            note_.nid_);
}

QString CNote::AlarmHost::firstLine() const {
    if (note_.body_ == nullptr) {
        return {};
    }
    const QStringList lines = note_.body_->toPlainText().split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        if (!line.trimmed().isEmpty()) {
            return line.trimmed();
        }
    }
    return {};
}

QString CNote::AlarmHost::plainText() const {
    return note_.body_ != nullptr ? note_.body_->toPlainText() : QString();
}

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
