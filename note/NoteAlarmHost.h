#pragma once

#include "Note.h"
#include "alarmui/AlarmHost.h"

namespace bp {

// The note as its alarm sees it.
class CNote::AlarmHost final : public IAlarmHost {
public:
    explicit AlarmHost(CNote& note) : note_(note) {}

    std::int32_t nid() const override { return note_.nid_; }
    CNotesDatabase& store() const override { return note_.store_; }
    const Platform& platform() const override { return note_.platform_; }
    bool closing() const override { return note_.closing_; }
    QWidget& alarmWindow() override { return note_; }
    QRect windowGeometry() const override { return note_.geometry(); }
    QString readableName() const override;
    QString firstLine() const override;
    QString plainText() const override;
    bool windowShown() const override { return note_.isVisible(); }
    void showQuietly(bool show) override { note_.ShowQuietly(show); }
    void showAndRecord() override { note_.ShowNote(true); }
    void raiseForAlarm() override;
    void activateNote() override { note_.activate(); }
    void beginReading() override;
    void stopReading() override { note_.StopOwnReading(); }
    bool hasTitleBar() const override { return note_.title_ != nullptr; }
    void showAlarmImage(bool on, const QString& tip) override;
    void showStopSnooze(bool show) override;
    void showExpiration(bool show, const QString& expires = {}) override;
    void refreshTips(const std::optional<QString>& nextAlarm) override;
    void finishTitleEdit() override { note_.finishTitleEdit(); }
    void announceChanged() override { note_.announceChanged(); }
    void trayTipChanged() override { note_.owner_.updateTrayTipLater(); }
    void removeExpired() override { note_.owner_.deleteNoteWindow(note_); }
    void beginModal() override { note_.BeginModal(); }
    void endModal() override { note_.EndModal(); }
    int runModal(QDialog& dialog) override { return note_.runModal(dialog); }

private:
    CNote& note_;
};

}  // namespace bp
