#pragma once

#include "platform/Notifications.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace bp {

// What the user may answer a ringing alarm with, in its stop-alarm window or its notification.
enum class AlarmAnswer { Stop, Snooze, ShowNote };

// The first lines of a note's text that have anything in them, trimmed and each cut to
// maxLength characters, one a line: enough to tell the note by, short enough for a
// notification.
std::string leadingLines(const std::string& text, std::size_t maxLines = 3,
                         std::size_t maxLength = 100);

// The desktop notification of a ringing alarm: the note's title and its first lines, urgent,
// never expiring and staying after a press until the ringing ends, offering what the stop-alarm
// window offers (snooze only for an alarm that has one) and to show the note.
IDesktopNotifications::Notification alarmNotification(const std::string& title,
                                                      const std::string& text, bool snoozeOffered);

// The answer an action of that notification stands for; none for a key it does not offer.
std::optional<AlarmAnswer> alarmAnswerFor(const std::string& actionKey);

// The notification of one ringing: shown when the alarm rings, taken away when the ringing is
// answered or ends, whichever way. A press in it comes back as an answer; the user dismissing
// it leaves the ringing as it is, since its window still offers every answer.
class AlarmNotification {
public:
    using AnswerHandler = std::function<void(AlarmAnswer)>;

    // service: none where the desktop has no notifications.
    AlarmNotification(IDesktopNotifications* service, AnswerHandler onAnswer);
    ~AlarmNotification();
    AlarmNotification(const AlarmNotification&) = delete;
    AlarmNotification& operator=(const AlarmNotification&) = delete;

    // Replaces one shown before.
    void show(const std::string& title, const std::string& text, bool snoozeOffered);
    void close();
    bool shown() const { return id_ != 0; }

private:
    IDesktopNotifications* service_;
    AnswerHandler onAnswer_;
    IDesktopNotifications::Id id_ = 0;
};

}  // namespace bp
