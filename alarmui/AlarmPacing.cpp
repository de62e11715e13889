#include "AlarmPacing.h"

#include "NoteAlarm.h"

#include <algorithm>

namespace bp {

RingQueue& RingQueue::instance() {
    // Kept for the life of the program: the notes of every store share it.
    static RingQueue* queue = new RingQueue;
    return *queue;
}

RingQueue::RingQueue() {
    turn_.setSingleShot(true);
    turn_.setInterval(0);
    connect(&turn_, &QTimer::timeout, this, [this] { ringNext(kPerTurn); });
}

void RingQueue::add(CNoteAlarm& note, const LocalDateTime& due) {
    if (waiting(note)) {
        return;
    }
    const auto later = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) {
        return due.earlier(e.due) || (!e.due.earlier(due) && note.nid() < e.nid);
    });
    entries_.insert(later, Entry{due, note.nid(), &note});
    if (!turn_.isActive()) {
        turn_.start();
    }
}

bool RingQueue::waiting(const CNoteAlarm& note) const {
    return std::any_of(entries_.begin(), entries_.end(),
                       [&](const Entry& e) { return e.note.data() == &note; });
}

void RingQueue::ringAll() {
    ringNext(entries_.size());
}

void RingQueue::ringNext(std::size_t count) {
    for (std::size_t rung = 0; rung < count && !entries_.empty(); ++rung) {
        const QPointer<CNoteAlarm> note = entries_.front().note;
        entries_.erase(entries_.begin());
        // The next turn is set before this one rings: a box of its actions runs an event
        // loop, in which the others go on ringing.
        if (!entries_.empty() && !turn_.isActive()) {
            turn_.start();
        }
        if (note != nullptr) {
            note->ringInTurn();
        }
    }
}

FlashingNotes& FlashingNotes::instance() {
    // Like the queue, never destroyed: nothing of Qt is left to tell at the program's exit.
    static FlashingNotes* notes = new FlashingNotes;
    return *notes;
}

void FlashingNotes::started(CNoteAlarm& note) {
    std::erase_if(notes_, [&](const QPointer<CNoteAlarm>& n) { return n.isNull() || n == &note; });
    notes_.emplace_back(&note);
    while (notes_.size() > kMostAtOnce) {
        const QPointer<CNoteAlarm> first = notes_.front();
        notes_.erase(notes_.begin());
        if (first != nullptr) {
            first->stopFlashing();
        }
    }
}

void FlashingNotes::stopped(const CNoteAlarm& note) {
    std::erase_if(notes_, [&](const QPointer<CNoteAlarm>& n) { return n.isNull() || n == &note; });
}

std::size_t FlashingNotes::count() const {
    return static_cast<std::size_t>(
        std::count_if(notes_.begin(), notes_.end(), [](const auto& n) { return !n.isNull(); }));
}

}  // namespace bp
