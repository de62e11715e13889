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
        const CNotesDatabase::ChangesSaved outcome = store_.SaveChanges();
        QMetaObject::invokeMethod(
            this, [this, outcome] { onSaveEnded(outcome); }, Qt::QueuedConnection);
    }
}

void AutoSaver::onSaveEnded(CNotesDatabase::ChangesSaved outcome) {
    saving_ = false;
    if (outcome.written) {
        ++savesWritten_;
    }
    const bool newFailure = outcome.failed() && !failing_;
    failing_ = outcome.failed();
    emit saveEnded(outcome.written, outcome.cause);
    if (newFailure && hooks_.reportFailure) {
        // The box may run an event loop of its own; saves go on meanwhile.
        hooks_.reportFailure(outcome.cause);
    }
    if (finished_ || saving_) {
        return;
    }
    if (schedule_.pending()) {
        armTimer();
    } else if (failing_ && !timer_->isActive()) {
        // Nobody may type again soon: try again by itself, e.g. once space is freed.
        timer_->start(delays_.retryMs);
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
    storingEdits_ = true;
    if (hooks_.storeEdits) {
        hooks_.storeEdits();
    }
    storingEdits_ = false;
    return store_.SaveChanges();
}

}  // namespace bp
