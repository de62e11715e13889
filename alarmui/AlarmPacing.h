#pragma once

#include "alarm/LocalDateTime.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace bp {

class CNoteAlarm;

// The alarms that have fallen due, rung a few per turn of the event loop, earliest first. A
// thousand alarms due at once (a computer switched on after a day off) would otherwise ring
// in one go, and the program would not look at its command socket, its tray or its windows
// until the last one had opened its window and started flashing.
class RingQueue : public QObject {
    Q_OBJECT
public:
    static constexpr std::size_t kPerTurn = 4;

    static RingQueue& instance();

    // The note's alarm (or the end of its snooze) is due; the note is told to ring in turn.
    // A note already waiting keeps its place.
    void add(CNoteAlarm& note, const LocalDateTime& due);
    bool waiting(const CNoteAlarm& note) const;
    // No alarm waits (one that is ringing has left the queue).
    bool empty() const { return entries_.empty(); }
    // Rings everything that waits at once: for tests, which drive the timers themselves.
    void ringAll();

private:
    RingQueue();
    void ringNext(std::size_t count);

    struct Entry {
        LocalDateTime due;
        std::int32_t nid;
        QPointer<CNoteAlarm> note;
    };
    // In the order they ring: by due time, then by note id.
    std::vector<Entry> entries_;
    QTimer turn_;
};

// The notes that flash. Each flash shows and hides a window, which the window manager has to
// take on and the note has to paint again; a few notes flashing draw the eye as well as a
// hundred do. Beyond kMostAtOnce, a note that starts to flash ends the flashing of the one
// that started first, which stays shown with its stop-alarm window.
class FlashingNotes {
public:
    static constexpr std::size_t kMostAtOnce = 8;

    static FlashingNotes& instance();

    void started(CNoteAlarm& note);
    void stopped(const CNoteAlarm& note);
    std::size_t count() const;

private:
    FlashingNotes() = default;
    std::vector<QPointer<CNoteAlarm>> notes_;
};

}  // namespace bp
