#pragma once

#include "platform/Platform.h"
#include "qtsupport/PacedTimer.h"

#include <QObject>

namespace bp {

class AutoSaver;
class CNote;
class CNotesDatabase;
class OpenNotes;

// Keeps the database saved while the program runs: shortly after every edit, on the interval
// the settings choose, and at once, silently, when the desktop goes away. Nothing is saved
// before start, which set-up calls once a usable database is in place.
class SessionSaving : public QObject {
    Q_OBJECT
public:
    SessionSaving(Platform platform, CNotesDatabase& store, OpenNotes& notes,
                  QObject* parent = nullptr);
    ~SessionSaving() override;
    SessionSaving(const SessionSaving&) = delete;
    SessionSaving& operator=(const SessionSaving&) = delete;

    void start();
    // Typing in the note's body or title reaches the store only when it is stored, which the
    // save does, so each keystroke has to tell the saver.
    void watch(CNote& note);
    // Stores what every live note holds and writes the file at once.
    void saveAll();
    // The desktop is going away: see AutoSaver::saveNow.
    void saveNow();
    void intervalChanged();
    // The program is ending: no more saves of their own, one being written finishes first.
    void finish();
    void stopInterval() { interval_.stop(); }
    // The store no longer reaches the saver, which goes.
    void detach();

    // Null before start and after detach.
    AutoSaver* autoSaver() const { return saver_; }
    const PacedTimer& intervalTimer() const { return interval_; }

private:
    void warnOfUnwritableFolderLater();

    Platform platform_;
    CNotesDatabase& store_;
    OpenNotes& notes_;
    PacedTimer interval_;
    AutoSaver* saver_ = nullptr;
};

}  // namespace bp
