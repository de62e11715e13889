#pragma once

#include "platform/Desktop.h"

#include <QAbstractButton>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QWidget>

#include <cstdint>

namespace bp {

class CNote;
class NumberedTimers;

// Where the stop-alarm window goes: centred under the note, above it when the desktop's work
// area has no room below, and at the bottom of the work area when there is none above either.
QPoint stopAlarmPosition(const QRect& note, const QSize& window, const Rect& workArea);

// A button of the stop-alarm window, drawn in the note's own colours.
class CStopAlarmButton : public QAbstractButton {
    Q_OBJECT
public:
    CStopAlarmButton(int id, const QString& text, CNote& note, QWidget* parent);
    int id() const { return id_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const int id_;
    CNote& note_;
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

    explicit CStopAlarm(CNote& note);

    // Shows the window without taking the focus, above every note, next to its note.
    void showNextToNote();

    std::int32_t nid() const { return nid_; }
    bool snoozeEnabled() const { return snoozeEnabled_; }
    bool handled() const { return handled_; }
    CStopAlarmButton* button(int id) const;
    NumberedTimers& timers() const { return *timers_; }

    // A press of button 1245 or 1246, or the timeout.
    void onCommand(int id);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void onTimer(int id);

    CNote& note_;
    const std::int32_t nid_;
    bool snoozeEnabled_ = false;
    bool handled_ = false;
    CStopAlarmButton* snoozeButton_ = nullptr;
    CStopAlarmButton* stopButton_ = nullptr;
    NumberedTimers* timers_ = nullptr;
};

}  // namespace bp
