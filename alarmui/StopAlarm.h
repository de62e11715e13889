#pragma once

#include "platform/Desktop.h"

#include <QAbstractButton>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QTimer>
#include <QWidget>

#include <cstdint>

namespace bp {

class CNoteAlarm;

// Where the stop-alarm window goes: centred under the note, above it when the desktop's work
// area has no room below, and at the bottom of the work area when there is none above either.
QPoint stopAlarmPosition(const QRect& note, const QSize& window, const Rect& workArea);

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

// The small window next to a ringing note that offers to snooze the alarm or stop it. A
// minute without a press snoozes (or stops, without snooze) by itself; only the first press
// or the timeout acts.
class CStopAlarm : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 300;
    static constexpr int kHeight = 120;
    static constexpr int kTimeoutMs = 60000;

    explicit CStopAlarm(CNoteAlarm& alarm);

    // Shows the window without taking the focus, above every note, next to its note.
    void showNextToNote();

    std::int32_t nid() const { return nid_; }
    bool snoozeEnabled() const { return snoozeEnabled_; }
    bool handled() const { return handled_; }
    CStopAlarmButton* snoozeButton() const { return snoozeButton_; }
    CStopAlarmButton* stopButton() const { return stopButton_; }
    // Runs from the window's showing; at its end the alarm snoozes, or stops without snooze.
    const QTimer& timeout() const { return timeout_; }

    // The snooze button: ignored when the alarm has no snooze.
    void snooze();
    // The stop button.
    void stop();
    // A minute passed without a press.
    void timedOut();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Only the first press or the timeout acts.
    bool takeTheAnswer();

    CNoteAlarm& alarm_;
    const std::int32_t nid_;
    bool snoozeEnabled_ = false;
    bool handled_ = false;
    CStopAlarmButton* snoozeButton_ = nullptr;
    CStopAlarmButton* stopButton_ = nullptr;
    QTimer timeout_;
};

}  // namespace bp
