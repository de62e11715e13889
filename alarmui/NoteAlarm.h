#pragma once

#include "alarm/AlarmSchedule.h"
#include "qtsupport/PacedTimer.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace bp {

class IAlarmHost;
class CShutDownCountdown;
class CStopAlarm;

// The alarm and expiry of one note: the timers that drive them, the ringing with its actions,
// the stop-alarm window, snoozing, flashing and the alarm settings dialog. It reaches its note
// only through IAlarmHost.
class CNoteAlarm : public QObject {
    Q_OBJECT
public:
    explicit CNoteAlarm(IAlarmHost& host);
    ~CNoteAlarm() override;

    // The alarm as the record holds it, a snooze that was pending at the last exit, the
    // buttons and the check; once the note's title bar exists.
    void load();
    // The alarm settings dialog; OK writes the whole alarm into the record.
    void openDialog();

    // Runs a timer's work: none while another one's runs, e.g. inside an action's message box
    // (the same alarm must not be handled again from a nested event loop), and the note's
    // expiry looked at in between. Every timer of the note goes through here.
    void runTimerWork(const std::function<void()>& beforeExpiry,
                      const std::function<void()>& afterExpiry);

    // The note's alarm: its state as loaded with the note, and what drives its ringing.
    AlarmSchedule& reminder() { return reminder_; }
    // Stops flashing and the alarm check, e.g. while the alarm dialog is open.
    void stopAlarmTimers();
    // Ends flashing with the note shown as it is stored.
    void stopFlashing();
    // Ends flashing where it stands, for a note that is being hidden.
    void quitFlashing();
    // The note's turn to ring what it has waiting (RingQueue): its alarm, its snooze's end.
    void ringInTurn();
    // Checks the alarm once a second while it is on, has actions and its dialog is closed.
    void startAlarmCheck();
    void setAlarmDialogOpen(bool open) { alarmDialogOpen_ = open; }
    bool alarmDialogOpen() const { return alarmDialogOpen_; }
    // The title bar's alarm, stop-snooze and expiration buttons and the tips, from the record.
    void refreshAlarmButtons();
    // What the alarm does when it rings, in its order: the stop-alarm window first. due is the
    // moment the ringing was for; none rings for the present one.
    void runAlarmActions(std::optional<LocalDateTime> due = std::nullopt);
    // The window offering snooze and stop while the alarm rings, replacing an earlier one.
    void showStopAlarm(std::optional<LocalDateTime> due = std::nullopt);
    // Ends the ringing: flashing, sound, reading and the stop-alarm window.
    void stopAlarm();
    // Ends the ringing and rings again after the alarm's snooze time.
    void snoozeAlarm();
    // Ends a pending snooze without ringing.
    void cancelSnooze();
    // Clears the note's expiry: it stays.
    void switchExpirationOff();
    // Reads the note aloud; the button goes grey until the reading ends.
    void readAloud();
    // When the alarm rings next, for the title's tip; none while it is off.
    std::optional<QString> nextAlarmText() const;
    // Nobody answered the ringing that was due then: the note keeps a mark until it is opened.
    void markMissed(const LocalDateTime& due);
    // The user opened the note: a missed alarm's mark goes.
    void openedByUser();
    // When the alarm that nobody answered was due, for the tips; none without a mark.
    std::optional<QString> missedAlarmText() const;

    // The window offering snooze and stop while the alarm rings; null when none is shown.
    CStopAlarm* stopAlarmWindow() const { return stopAlarm_; }
    // The minute's warning before the alarm's shut-down; null when none counts down.
    CShutDownCountdown* shutDownCountdown() const;
    bool timerBusy() const { return timerBusy_; }
    std::int32_t nid() const;
    bool closing() const;
    IAlarmHost& host() const { return host_; }

    // Declared in the order the shared timers of one note fire in.
    PacedTimer& flashTimer() { return flashTimer_; }
    PacedTimer& alarmCheckTimer() { return alarmCheckTimer_; }
    QTimer& beepRepeatTimer() { return beepRepeatTimer_; }
    PacedTimer& snoozeTimer() { return snoozeTimer_; }

private:
    void checkAlarm();
    void ringAlarm();
    void flashStep();
    void snoozeEnded();
    void startShutDownCountdown();
    void shutDownNow();
    // True when the note removed itself.
    bool checkExpiration();
    // A snooze that was pending when the program ended goes on.
    void resumeSnooze();
    void reportActionError(const std::string& text);
    // The tips, the Notes Manager and the tray learn of a missed alarm's mark.
    void missedMarkChanged();
    void beep();

    IAlarmHost& host_;
    PacedTimer flashTimer_;
    PacedTimer alarmCheckTimer_;
    PacedTimer snoozeTimer_;
    // The beep again while the stop-alarm window stands, when the settings ask for that.
    QTimer beepRepeatTimer_;
    AlarmSchedule reminder_;
    CStopAlarm* stopAlarm_ = nullptr;
    QPointer<CShutDownCountdown> shutDownCountdown_;
    bool alarmDialogOpen_ = false;
    bool timerBusy_ = false;
    // The expiry as last read from the store. Nothing sets an expiry on a running note (only
    // clears it), so a note without one need not read the store at every tick; whatever
    // sets one must refresh the alarm buttons, which reads it again.
    std::uint32_t expireTime_ = 0;
    // What waits in the ring queue for this note's turn.
    static constexpr int kAlarmWaits = 1;
    static constexpr int kSnoozeEndWaits = 2;
    int waitingToRing_ = 0;
    // The end of a pending snooze, the alarm's next ringing.
    std::optional<LocalDateTime> snoozeEnd_;
};

}  // namespace bp
