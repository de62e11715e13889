#pragma once

#include "SaveSchedule.h"
#include "store/NotesDatabase.h"

#include <QElapsedTimer>
#include <QObject>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

class QTimer;

namespace bp {

// Saves the database shortly after every edit, so that a kill, a crash or a lost desktop
// costs at most the last moments of typing. Edits are stored on the GUI thread (the bodies
// live in its widgets); the file is written and synced on a thread of its own, so typing
// never waits for the disk.
class AutoSaver : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        // Writes into the store what the windows hold and the store does not yet.
        std::function<void()> storeEdits;
        // A save failed for the first time since the last one that worked.
        std::function<void(const CNotesDatabase::SaveOutcome&)> reportFailure;
        // A save kept the file another program had put in place of the database.
        std::function<void(const std::string& keptAs)> reportKept;
    };
    struct Delays {
        SaveSchedule::Delays schedule;
        int retryMs = 10000;  // after a failed save, even when nothing more is edited
    };

    AutoSaver(CNotesDatabase& store, Hooks hooks, Delays delays, QObject* parent = nullptr);
    AutoSaver(CNotesDatabase& store, Hooks hooks, QObject* parent = nullptr)
        : AutoSaver(store, std::move(hooks), Delays{}, parent) {}
    ~AutoSaver() override;

    // Something was edited. Any thread; the store's change listener calls it.
    void changed();
    // The store's save requests, once installed as its save handler. Soon is an edit's save;
    // Now writes on the calling thread after any save being written, and a failure is told
    // as one of the saves after edits would be. Any thread.
    void requestSave(SaveUrgency urgency);
    // No more saves of its own (the program is ending); waits for one that is being written.
    void finish();
    // Stores (on the GUI thread) and saves at once on the calling thread, after any save being
    // written: for a desktop that is going away. Silent, as there may be no one left to tell.
    CNotesDatabase::ChangesSaved saveNow();

    int savesWritten() const { return savesWritten_; }
    bool failing() const { return failing_; }
    // The user has been told that saving cannot work: the first failed save need not say it
    // again. A save that works ends it as usual.
    void failureAlreadyReported() { failing_ = true; }

signals:
    // A save has ended (written or not); for tests.
    void saveEnded(bool written, int cause);

private:
    // A save's outcome and its place among all the saves written.
    struct Written {
        CNotesDatabase::SaveOutcome outcome;
        std::uint64_t turn = 0;
    };
    // Writes in turn with every other save of this saver, whichever thread asks.
    Written write(bool onlyChanges);
    // Takes a save's outcome on the GUI thread; only the latest save decides whether saving
    // is failing.
    void settle(const Written& written);
    void onChanged();
    void onDue();
    void startSave();
    void onSaveEnded(const Written& written);
    void armTimer();
    void workerLoop();
    std::int64_t now() const { return clock_.elapsed(); }

    CNotesDatabase& store_;
    Hooks hooks_;
    Delays delays_;
    SaveSchedule schedule_;
    QElapsedTimer clock_;
    QTimer* timer_ = nullptr;
    // Edits announced from other threads, not yet seen by the GUI thread.
    std::atomic<bool> changePosted_{false};
    bool storingEdits_ = false;
    bool saving_ = false;
    bool finished_ = false;
    bool failing_ = false;
    int savesWritten_ = 0;
    std::uint64_t settledTurn_ = 0;

    // Held while a save is written: a save of the GUI thread never overtakes the worker's.
    std::mutex writeTurn_;
    std::uint64_t writesStarted_ = 0;  // under writeTurn_

    std::mutex workerLock_;
    std::condition_variable workerWake_;
    bool saveRequested_ = false;
    bool stopWorker_ = false;
    std::thread worker_;
};

}  // namespace bp
