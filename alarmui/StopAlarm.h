#pragma once

#include "alarm/AlarmNotification.h"
#include "alarm/LocalDateTime.h"
#include "platform/Desktop.h"

#include <QAbstractButton>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <optional>
#include <vector>

class QLabel;

namespace bp {

class CNoteAlarm;

// Where the stop-alarm window goes: centred under the note, above it when the desktop's work
// area has no room below, and at the bottom of the work area when there is none above either.
QPoint stopAlarmPosition(const QRect& note, const QSize& window, const Rect& workArea);

// Where a stop-alarm window that wants to be at wanted goes while others are shown: moved
// down past those it would cover, or up when the work area has no room below, so that each
// stays readable; stepped down by a line when there is no free place at all.
QPoint stackedStopAlarmPosition(const QRect& wanted, const std::vector<QRect>& shown,
                                const Rect& workArea);

// A button of the stop-alarm window, drawn in the note's own colours.
class CStopAlarmButton : public QAbstractButton {
    Q_OBJECT
public:
    CStopAlarmButton(const QString& text, CNoteAlarm& alarm, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CNoteAlarm& alarm_;
};

// The small window next to a ringing note that names the note and when the alarm was due, and
// offers to snooze the alarm or stop it. A minute without a press snoozes (or stops, without
// snooze, leaving the note marked as missed) by itself; only the first press or the timeout
// acts. The desktop may show the same offer as a notification, which lasts as long as the
// window does.
class CStopAlarm : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 300;
    // The note's name, its first line and the due time, above the buttons.
    static constexpr int kHeaderHeight = 60;
    static constexpr int kHeight = kHeaderHeight + 120;
    static constexpr int kTimeoutMs = 60000;

    // due: the moment the ringing was for; the present one without.
    explicit CStopAlarm(CNoteAlarm& alarm, std::optional<LocalDateTime> due = std::nullopt);
    ~CStopAlarm() override;

    // Shows the window without taking the focus, above every note, next to its note.
    void showNextToNote();
    // The desktop notification of the ringing, unless the settings turned those off.
    void showNotification();

    std::int32_t nid() const { return nid_; }
    bool snoozeEnabled() const { return snoozeEnabled_; }
    bool handled() const { return handled_; }
    CStopAlarmButton* snoozeButton() const { return snoozeButton_; }
    CStopAlarmButton* stopButton() const { return stopButton_; }
    QLabel* nameLabel() const { return nameLabel_; }
    QLabel* firstLineLabel() const { return firstLineLabel_; }
    QLabel* dueLabel() const { return dueLabel_; }
    // Runs from the window's showing; at its end the alarm snoozes, or stops without snooze.
    const QTimer& timeout() const { return timeout_; }

    // The snooze button: ignored when the alarm has no snooze.
    void snooze();
    // The stop button.
    void stop();
    // A minute passed without a press.
    void timedOut();
    // The note brought up while the ringing goes on, as a press on the note does.
    void showNote();
    // A press in the notification: what the window's button of that name does.
    void answer(AlarmAnswer answer);

protected:
    void paintEvent(QPaintEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // Only the first press or the timeout acts.
    bool takeTheAnswer();
    // The lines naming the note and the due time.
    void addHeader();

    CNoteAlarm& alarm_;
    const std::int32_t nid_;
    bool snoozeEnabled_ = false;
    bool handled_ = false;
    CStopAlarmButton* snoozeButton_ = nullptr;
    CStopAlarmButton* stopButton_ = nullptr;
    QLabel* nameLabel_ = nullptr;
    QLabel* firstLineLabel_ = nullptr;
    QLabel* dueLabel_ = nullptr;
    const LocalDateTime due_;
    QTimer timeout_;
    AlarmNotification notification_;
};

}  // namespace bp
