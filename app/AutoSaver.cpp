#include "AutoSaver.h"

#include <QMetaObject>
#include <QThread>
#include <QTimer>

#include <algorithm>

namespace bp {

AutoSaver::AutoSaver(CNotesDatabase& store, Hooks hooks, Delays delays, QObject* parent)
    : QObject(parent),
      store_(store),
      hooks_(std::move(hooks)),
      delays_(delays),
      schedule_(delays.schedule) {
    clock_.start();
    timer_ = new QTimer(this);
    timer_->setSingleShot(true);
    timer_->setTimerType(Qt::PreciseTimer);
    connect(timer_, &QTimer::timeout, this, &AutoSaver::onDue);
    worker_ = std::thread([this] { workerLoop(); });
}

AutoSaver::~AutoSaver() {
    finish();
}

void AutoSaver::changed() {
    if (QThread::currentThread() == thread()) {
        onChanged();
        return;
    }
    // One queued call stands for any number of edits made before it runs.
    if (!changePosted_.exchange(true)) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                changePosted_ = false;
                onChanged();
            },
            Qt::QueuedConnection);
    }
}

void AutoSaver::requestSave(SaveUrgency urgency) {
    if (urgency == SaveUrgency::Soon) {
        changed();
        return;
    }
    const Written written = write(false);
    if (QThread::currentThread() == thread()) {
        settle(written);
    } else {
        QMetaObject::invokeMethod(
            this, [this, written] { settle(written); }, Qt::QueuedConnection);
    }
}

AutoSaver::Written AutoSaver::write(bool onlyChanges) {
    std::lock_guard lock(writeTurn_);
    Written written;
    written.turn = ++writesStarted_;
    written.outcome = onlyChanges ? store_.SaveChanges() : store_.SaveDatabase("");
    return written;
}

void AutoSaver::settle(const Written& written) {
    const CNotesDatabase::SaveOutcome& outcome = written.outcome;
    if (outcome.written) {
        ++savesWritten_;
    }
    // A later save has already been taken: this one says nothing about saving now.
    const bool latest = written.turn > settledTurn_;
    bool newFailure = false;
    if (latest) {
        settledTurn_ = written.turn;
        newFailure = outcome.failed() && !failing_;
        failing_ = outcome.failed();
    }
    emit saveEnded(outcome.written, outcome.cause);
    // The boxes may run an event loop of their own; saves go on meanwhile.
    if (outcome.written && !outcome.keptAs.empty() && hooks_.reportKept) {
        hooks_.reportKept(outcome.keptAs);
    }
    if (newFailure && hooks_.reportFailure) {
        hooks_.reportFailure(outcome);
    }
    if (latest && failing_ && !finished_ && !saving_ && !timer_->isActive()) {
        // Nobody may type again soon: try again by itself, e.g. once space is freed.
        timer_->start(delays_.retryMs);
    }
}

void AutoSaver::onChanged() {
    // What the save itself stores is part of that save.
    if (finished_ || storingEdits_) {
        return;
    }
    schedule_.changed(now());
    if (!saving_) {
        armTimer();
    }
}

void AutoSaver::armTimer() {
    const auto due = schedule_.due();
    if (!due) {
        return;
    }
    timer_->start(static_cast<int>(std::max<std::int64_t>(0, *due - now())));
}

void AutoSaver::onDue() {
    if (finished_ || saving_) {
        return;
    }
    storingEdits_ = true;
    if (hooks_.storeEdits) {
        hooks_.storeEdits();
    }
    storingEdits_ = false;
    schedule_.saveStarted();
    startSave();
}

void AutoSaver::startSave() {
    saving_ = true;
    {
        std::lock_guard lock(workerLock_);
        saveRequested_ = true;
    }
    workerWake_.notify_one();
}

void AutoSaver::workerLoop() {
    for (;;) {
        {
            std::unique_lock lock(workerLock_);
            workerWake_.wait(lock, [this] { return saveRequested_ || stopWorker_; });
            if (!saveRequested_) {
                return;
            }
            saveRequested_ = false;
        }
        const Written written = write(true);
        QMetaObject::invokeMethod(
            this, [this, written] { onSaveEnded(written); }, Qt::QueuedConnection);
    }
}

void AutoSaver::onSaveEnded(const Written& written) {
    saving_ = false;
    settle(written);
    if (finished_ || saving_) {
        return;
    }
    if (schedule_.pending()) {
        armTimer();
    }
}

void AutoSaver::finish() {
    finished_ = true;
    timer_->stop();
    {
        std::lock_guard lock(workerLock_);
        stopWorker_ = true;
    }
    workerWake_.notify_one();
    if (worker_.joinable()) {
        worker_.join();
    }
}

CNotesDatabase::ChangesSaved AutoSaver::saveNow() {
    // The windows belong to the GUI thread: elsewhere only what the store holds is saved.
    if (QThread::currentThread() == thread()) {
        storingEdits_ = true;
        if (hooks_.storeEdits) {
            hooks_.storeEdits();
        }
        storingEdits_ = false;
    }
    return write(true).outcome;
}

}  // namespace bp
