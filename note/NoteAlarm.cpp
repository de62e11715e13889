// The note's alarm and expiry: the timers that drive them, the ringing with its actions, the
// stop-alarm window, snoozing and flashing.
#include "AlarmPacing.h"
#include "Note.h"
#include "ReadAloud.h"
#include "ShutDownCountdown.h"
#include "StopAlarm.h"
#include "Title.h"
#include "alarm/AlarmSettingsModel.h"
#include "alarm/ProgramLaunch.h"
#include "alarm/SnoozeRecord.h"
#include "platform/Messages.h"

#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <climits>
#include <string>
#include <utility>
#include <vector>

namespace bp {

namespace {

// What the alarm dialog gives a new alarm; a stored count or period of 0 or less would never
// flash or never stop.
constexpr int kDefaultFlashTimes = 100;
constexpr int kDefaultFlashIntervalMs = 600;
constexpr int kAlarmCheckMs = 1000;

// Restores a flag to what it was when the scope began.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag), before_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = before_; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
    bool before_;
};

std::string shutDownFailure(const std::string& problem) {
    return problem.empty() ? "Can't shut down the computer."
                           : "Can't shut down the computer: " + problem + ".";
}

}  // namespace

void CNote::StopAlarmTimers() {
    stopFlashing();
    alarmCheckTimer_.stop();
}

void CNote::quitFlashing() {
    flashTimer_.stop();
    FlashingNotes::instance().stopped(*this);
}

void CNote::stopFlashing() {
    quitFlashing();
    // Flashing never changes what is stored: a note it left in a hidden phase comes back.
    if (!closing_ && !isVisible() && store_.GetNote(kLiveSource, nid_, note::isClosed) == 0) {
        ShowQuietly(true);
    }
}

void CNote::StartAlarmCheck() {
    if (closing_) {
        return;
    }
    if (reminder_.isReminder != 0 && reminder_.remindAction != 0 && !alarmDialogOpen_) {
        // A thousand notes with alarms wake the program once a second, not a thousand times.
        alarmCheckTimer_.startShared(kAlarmCheckMs);
    }
}

std::optional<QString> CNote::nextAlarmText() const {
    // A pending snooze rings before the alarm's next time does.
    if (snoozeEnd_) {
        return QString::fromStdString(FormatNextAlarm(*platform_.clock, *snoozeEnd_));
    }
    if (reminder_.isReminder == 0) {
        return std::nullopt;
    }
    return QString::fromStdString(FormatNextAlarm(*platform_.clock, reminder_.remindTime));
}

void CNote::RefreshAlarmButtons() {
    if (closing_ || title_ == nullptr) {
        return;
    }
    const bool on = snoozeEnd_ || store_.GetNote(kLiveSource, nid_, note::isReminder) != 0;
    if (on) {
        const LocalDateTime next =
            snoozeEnd_
                ? *snoozeEnd_
                : toLocal(*platform_.clock, store_.GetNote(kLiveSource, nid_, note::remindTime));
        const std::string text = FormatNextAlarm(*platform_.clock, next);
        title_->setAlarmImage(true,
                              QStringLiteral("Alarm ON\n%1").arg(QString::fromStdString(text)));
    } else {
        title_->setAlarmImage(false, QStringLiteral("Alarm"));
    }
    title_->showStopSnooze(snoozeTimer_.isActive());
    expireTime_ = store_.GetNote(kLiveSource, nid_, note::expireTime);
    title_->showExpiration(expireTime_ != 0);
    title_->RefreshTooltips(QString::fromStdString(createdText_), nextAlarmText());
}

void CNote::checkAlarm() {
    if (reminder_.isReminder == 0 || reminder_.remindAction == 0) {
        // Nothing can ring: no need to look again every second.
        alarmCheckTimer_.stop();
        return;
    }
    if (alarmDialogOpen_ || !reminder_.remindTime.notLater(localNow(*platform_.clock))) {
        return;
    }
    // Due: it rings in its turn, so that many alarms due at once ring a few at a time.
    alarmCheckTimer_.stop();
    waitingToRing_ |= kAlarmWaits;
    RingQueue::instance().add(*this, reminder_.remindTime);
}

void CNote::ringInTurn() {
    const int waiting = std::exchange(waitingToRing_, 0);
    if (closing_) {
        return;
    }
    if (timerBusy_) {
        // A box of this note is open: its alarm is found again once it is closed.
        if ((waiting & kAlarmWaits) != 0) {
            StartAlarmCheck();
        }
        if ((waiting & kSnoozeEndWaits) != 0) {
            snoozeTimer_.start(kAlarmCheckMs);
        }
        return;
    }
    FlagScope busy(timerBusy_);
    if ((waiting & kAlarmWaits) != 0) {
        ringAlarm();
    }
    if ((waiting & kSnoozeEndWaits) != 0 && !closing_ && !alarmDialogOpen_ &&
        reminder_.remindAction != 0) {
        cancelSnooze();
        RunAlarmActions();
    }
}

void CNote::ringAlarm() {
    // What changed while it waited (the alarm dialog opened) is looked at again.
    if (reminder_.isReminder == 0 || reminder_.remindAction == 0 || alarmDialogOpen_) {
        StartAlarmCheck();
        return;
    }
    const bool rings = reminder_.AdvancePastNow(*platform_.clock) == AlarmOutcome::Rings;
    // Stored before any action runs: one may open a box, and a program that ends while it is
    // open must not ring this alarm again at the next start.
    reminder_.Store(store_, nid_, *platform_.clock);
    if (rings) {
        RunAlarmActions();
        if (closing_) {
            return;
        }
        // An action that failed turned the alarm on again.
        reminder_.Store(store_, nid_, *platform_.clock);
    }
    StartAlarmCheck();
    // While more alarms wait, the saves after edits carry their state; the last one saves at
    // once, so that a crash right after cannot ring the same alarm again.
    if (RingQueue::instance().empty()) {
        store_.RequestSave(SaveUrgency::Now);
    }
    RefreshAlarmButtons();
    announceChanged();
}

void CNote::RunAlarmActions() {
    if (closing_) {
        return;
    }
    // Also when run outside a timer (the alarm dialog rings at once): a box of an action runs
    // an event loop, and the alarm must not be handled again from inside it.
    FlagScope busy(timerBusy_);
    showStopAlarm();
    const int action = reminder_.remindAction;
    if ((action & 3) == 1) {
        QTimer::singleShot(0, this, &CNote::activate);
    }
    if ((action & 8) != 0 && platform_.sound != nullptr) {
        platform_.sound->playTones({{100, 500}, {200, 500}, {300, 500}, {400, 500}});
    }
    if ((action & 2) != 0) {
        reminder_.flashesLeft =
            reminder_.remindFlashTimes > 0 ? reminder_.remindFlashTimes : kDefaultFlashTimes;
        // Notes of one period flash together, on one timer.
        flashTimer_.startShared(reminder_.remindFlashInterval > 0 ? reminder_.remindFlashInterval
                                                                  : kDefaultFlashIntervalMs);
        FlashingNotes::instance().started(*this);
    }
    if ((action & 4) != 0) {
        QTimer::singleShot(0, this, &CNote::readAloud);
    }
    // A failed action is told only once every other action ran, so that no box holds the
    // rest back; the count to a shut-down starts last, with no box of this alarm above it.
    std::vector<std::string> failures;
    bool shutDown = false;
    if ((action & 16) != 0 && platform_.powerOff != nullptr) {
        if (platform_.powerOff->canPowerOff()) {
            shutDown = true;
        } else {
            failures.push_back(shutDownFailure(platform_.powerOff->problem()));
        }
    }
    if ((action & 32) != 0 && !platform_.shell->open(reminder_.remindWav)) {
        failures.push_back("Can't open the sound file.");
    }
    if ((action & 64) != 0 && !platform_.shell->open(reminder_.remindUrl)) {
        failures.push_back("Can't open url.");
    }
    // A program is started directly with the arguments written after it; anything else is
    // opened as a document.
    if ((action & 128) != 0 && !LaunchProgram(*platform_.shell, reminder_.remindExe)) {
        failures.push_back("Can't open program or file.");
    }
    for (const std::string& failure : failures) {
        if (closing_) {
            return;
        }
        reportActionError(failure);
    }
    if (shutDown && !closing_) {
        startShutDownCountdown();
    }
}

void CNote::reportActionError(const std::string& text) {
    if (closing_) {
        return;
    }
    // The alarm is not switched back on: a one-time alarm has rung, whatever its actions did.
    BeginModal();
    platform_.messages->showMessage("Error", "", text, res::ICON_ERROR);
    EndModal();
}

CShutDownCountdown* CNote::shutDownCountdown() const {
    return shutDownCountdown_;
}

void CNote::startShutDownCountdown() {
    if (shutDownCountdown_ != nullptr) {
        // A count already runs: a second ringing neither restarts nor shortens it.
        return;
    }
    QPointer<CNote> self(this);
    auto* countdown = new CShutDownCountdown([self] {
        if (self != nullptr) {
            self->shutDownNow();
        }
    });
    shutDownCountdown_ = countdown;
    // The warning goes with its note.
    connect(this, &QObject::destroyed, countdown, &QObject::deleteLater);
    countdown->show();
}

void CNote::shutDownNow() {
    if (closing_ || platform_.powerOff == nullptr) {
        return;
    }
    if (!platform_.powerOff->powerOff()) {
        BeginModal();
        platform_.messages->showMessage(
            "Error", "Brightpost", shutDownFailure(platform_.powerOff->problem()), res::ICON_ERROR);
        EndModal();
    }
}

void CNote::flashStep() {
    int& left = reminder_.flashesLeft;
    if (left <= 0) {
        stopFlashing();
        owner_.updateTrayTipLater();
        return;
    }
    // The hidden phases are not stored: a program ended in one must not start with the note
    // hidden. A note that was hidden when the alarm rang is brought up for good.
    if (isVisible()) {
        ShowQuietly(false);
        return;
    }
    if (store_.GetNote(kLiveSource, nid_, note::isClosed) != 0) {
        ShowNote(true);
    } else {
        ShowQuietly(true);
    }
    if ((reminder_.remindAction & 1) != 0) {
        makeTopmost();
        raise();
        TakeFocus(isEdit_ != 0 ? Focus::Body : Focus::Note);
    }
    if (stopAlarm_ != nullptr) {
        // A note shown again lands on top of its layer; the offer to stop stays above it.
        stopAlarm_->raise();
    }
    --left;
}

void CNote::snoozeEnded() {
    if (alarmDialogOpen_ || reminder_.remindAction == 0) {
        return;
    }
    waitingToRing_ |= kSnoozeEndWaits;
    RingQueue::instance().add(*this, localNow(*platform_.clock));
}

bool CNote::checkExpiration() {
    if (expireTime_ == 0) {
        return false;
    }
    const std::uint32_t expires = store_.GetNote(kLiveSource, nid_, note::expireTime);
    expireTime_ = expires;
    if (expires == 0) {
        return false;
    }
    const IClock& clock = *platform_.clock;
    if (!toLocal(clock, expires).notLater(localNow(clock))) {
        return false;
    }
    // The main window removes the note; nothing of it may be used once it has.
    owner_.deleteNoteWindow(*this);
    return closing_;
}

void CNote::showStopAlarm() {
    if (closing_) {
        return;
    }
    if (stopAlarm_ != nullptr) {
        // A ringing that comes while the window of the last one is still up replaces it;
        // forgotten, it could be pressed but never closed.
        stopAlarm_->hide();
        stopAlarm_->deleteLater();
    }
    stopAlarm_ = new CStopAlarm(*this);
    stopAlarm_->showNextToNote();
}

void CNote::stopAlarm() {
    if (closing_) {
        return;
    }
    stopFlashing();
    StopOwnReading();
    CStopAlarm* window = stopAlarm_;
    stopAlarm_ = nullptr;
    if (window != nullptr) {
        window->hide();
    }
    activate();
    if (window != nullptr) {
        // The press that got here is still being handled by the window's button.
        window->deleteLater();
    }
}

void CNote::snoozeAlarm() {
    if (closing_) {
        return;
    }
    stopAlarm();
    if (title_ != nullptr) {
        title_->showStopSnooze(true);
    }
    snoozeTimer_.start(reminder_.remindSnoozeTime);
    if (reminder_.remindSnoozeTime > 0) {
        const IClock& clock = *platform_.clock;
        snoozeEnd_ = localNow(clock).plusSeconds(reminder_.remindSnoozeTime / 1000);
        storeSnoozeEnd(store_, nid_, toStored(clock, *snoozeEnd_));
        RefreshAlarmButtons();
        announceChanged();
    }
}

void CNote::resumeSnooze() {
    const std::optional<std::uint32_t> stored = storedSnoozeEnd(store_, nid_);
    if (!stored) {
        return;
    }
    if (reminder_.remindAction == 0) {
        // Nothing would ring at its end.
        storeSnoozeEnd(store_, nid_, std::nullopt);
        return;
    }
    const IClock& clock = *platform_.clock;
    snoozeEnd_ = toLocal(clock, *stored);
    const std::int64_t left = snoozeEnd_->serial() - localNow(clock).serial();
    // One that ended while the program was not running rings at the first look.
    snoozeTimer_.start(static_cast<int>(std::clamp<std::int64_t>(left, kAlarmCheckMs, INT_MAX)));
    if (title_ != nullptr) {
        title_->showStopSnooze(true);
    }
}

void CNote::cancelSnooze() {
    if (closing_) {
        return;
    }
    snoozeTimer_.stop();
    if (title_ != nullptr) {
        title_->showStopSnooze(false);
    }
    if (snoozeEnd_) {
        snoozeEnd_.reset();
        storeSnoozeEnd(store_, nid_, std::nullopt);
        RefreshAlarmButtons();
        announceChanged();
    }
}

void CNote::readAloud() {
    if (!closing_) {
        reading_->BeginReading();
    }
}

void CNote::switchExpirationOff() {
    if (closing_) {
        return;
    }
    if (title_ != nullptr) {
        title_->showExpiration(false);
    }
    store_.SetNote(nid_, 0, note::expireTime);
}

void CNote::pressedByUser() {
    stopFlashing();
}

}  // namespace bp
