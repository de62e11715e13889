// The note's alarm and expiry: the timers that drive them, the ringing with its actions, the
// stop-alarm window, snoozing and flashing.
#include "NoteAlarm.h"

#include "AlarmHost.h"
#include "AlarmPacing.h"
#include "ShutDownCountdown.h"
#include "StopAlarm.h"
#include "alarm/AlarmSettingsModel.h"
#include "alarm/MissedAlarm.h"
#include "alarm/ProgramLaunch.h"
#include "alarm/SnoozeRecord.h"
#include "platform/Messages.h"
#include "platform/TimeText.h"
#include "store/Settings.h"

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
// The beep lasts two seconds and comes again after a pause as long.
constexpr int kBeepRepeatMs = 4000;

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

CNoteAlarm::CNoteAlarm(IAlarmHost& host) : host_(host) {
    connect(&flashTimer_, &PacedTimer::fired, this,
            [this] { runTimerWork({}, [this] { flashStep(); }); });
    connect(&alarmCheckTimer_, &PacedTimer::fired, this,
            [this] { runTimerWork({}, [this] { checkAlarm(); }); });
    connect(&snoozeTimer_, &PacedTimer::fired, this,
            [this] { runTimerWork({}, [this] { snoozeEnded(); }); });
    beepRepeatTimer_.setInterval(kBeepRepeatMs);
    connect(&beepRepeatTimer_, &QTimer::timeout, this, [this] {
        if (stopAlarm_ == nullptr || host_.closing()) {
            beepRepeatTimer_.stop();
            return;
        }
        beep();
    });
}

CNoteAlarm::~CNoteAlarm() {
    delete stopAlarm_;
    stopAlarm_ = nullptr;
}

std::int32_t CNoteAlarm::nid() const {
    return host_.nid();
}

bool CNoteAlarm::closing() const {
    return host_.closing();
}

void CNoteAlarm::load() {
    reminder_.Load(host_.store(), host_.nid(), *host_.platform().clock);
    resumeSnooze();
    refreshAlarmButtons();
    startAlarmCheck();
}

void CNoteAlarm::runTimerWork(const std::function<void()>& beforeExpiry,
                              const std::function<void()>& afterExpiry) {
    if (host_.closing() || timerBusy_) {
        return;
    }
    timerBusy_ = true;
    if (beforeExpiry) {
        beforeExpiry();
    }
    // Every timer of the note looks at its expiry, so it is seen within a second.
    if (checkExpiration()) {
        return;
    }
    if (afterExpiry) {
        afterExpiry();
    }
    timerBusy_ = false;
}

void CNoteAlarm::stopAlarmTimers() {
    stopFlashing();
    alarmCheckTimer_.stop();
}

void CNoteAlarm::quitFlashing() {
    flashTimer_.stop();
    FlashingNotes::instance().stopped(*this);
}

void CNoteAlarm::stopFlashing() {
    quitFlashing();
    // Flashing never changes what is stored: a note it left in a hidden phase comes back.
    if (!host_.closing() && !host_.windowShown() &&
        host_.store().GetNote(kLiveSource, host_.nid(), note::isClosed) == 0) {
        host_.showQuietly(true);
    }
}

void CNoteAlarm::startAlarmCheck() {
    if (host_.closing()) {
        return;
    }
    if (reminder_.isReminder != 0 && reminder_.remindAction != 0 && !alarmDialogOpen_) {
        // A thousand notes with alarms wake the program once a second, not a thousand times.
        alarmCheckTimer_.startShared(kAlarmCheckMs);
    }
}

std::optional<QString> CNoteAlarm::nextAlarmText() const {
    // A pending snooze rings before the alarm's next time does.
    if (snoozeEnd_) {
        return QString::fromStdString(FormatNextAlarm(*host_.platform().clock, *snoozeEnd_));
    }
    if (reminder_.isReminder == 0) {
        return std::nullopt;
    }
    return QString::fromStdString(FormatNextAlarm(*host_.platform().clock, reminder_.remindTime));
}

void CNoteAlarm::refreshAlarmButtons() {
    if (host_.closing() || !host_.hasTitleBar()) {
        return;
    }
    const bool on =
        snoozeEnd_ || host_.store().GetNote(kLiveSource, host_.nid(), note::isReminder) != 0;
    if (on) {
        const LocalDateTime next =
            snoozeEnd_ ? *snoozeEnd_
                       : toLocal(*host_.platform().clock,
                                 host_.store().GetNote(kLiveSource, host_.nid(), note::remindTime));
        const std::string text = FormatNextAlarm(*host_.platform().clock, next);
        host_.showAlarmImage(true,
                             QStringLiteral("Alarm ON\n%1").arg(QString::fromStdString(text)));
    } else {
        host_.showAlarmImage(false, QStringLiteral("Alarm"));
    }
    host_.showStopSnooze(snoozeTimer_.isActive());
    expireTime_ = host_.store().GetNote(kLiveSource, host_.nid(), note::expireTime);
    host_.showExpiration(expireTime_ != 0,
                         expireTime_ == 0 ? QString()
                                          : QString::fromStdString(displayTime(
                                                *host_.platform().clock, std::int64_t{expireTime_},
                                                TimeStyle::MomentWithWeekday)));
    host_.refreshTips(nextAlarmText());
}

void CNoteAlarm::checkAlarm() {
    if (reminder_.isReminder == 0 || reminder_.remindAction == 0) {
        // Nothing can ring: no need to look again every second.
        alarmCheckTimer_.stop();
        return;
    }
    if (alarmDialogOpen_ || !reminder_.remindTime.notLater(localNow(*host_.platform().clock))) {
        return;
    }
    // Due: it rings in its turn, so that many alarms due at once ring a few at a time.
    alarmCheckTimer_.stop();
    waitingToRing_ |= kAlarmWaits;
    RingQueue::instance().add(*this, reminder_.remindTime);
}

void CNoteAlarm::ringInTurn() {
    const int waiting = std::exchange(waitingToRing_, 0);
    if (host_.closing()) {
        return;
    }
    if (timerBusy_) {
        // A box of this note is open: its alarm is found again once it is closed.
        if ((waiting & kAlarmWaits) != 0) {
            startAlarmCheck();
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
    if ((waiting & kSnoozeEndWaits) != 0 && !host_.closing() && !alarmDialogOpen_ &&
        reminder_.remindAction != 0) {
        const std::optional<LocalDateTime> due = snoozeEnd_;
        cancelSnooze();
        runAlarmActions(due);
    }
}

void CNoteAlarm::ringAlarm() {
    // What changed while it waited (the alarm dialog opened) is looked at again.
    if (reminder_.isReminder == 0 || reminder_.remindAction == 0 || alarmDialogOpen_) {
        startAlarmCheck();
        return;
    }
    const LocalDateTime due = reminder_.remindTime;
    const bool rings = reminder_.AdvancePastNow(*host_.platform().clock) == AlarmOutcome::Rings;
    // Stored before any action runs: one may open a box, and a program that ends while it is
    // open must not ring this alarm again at the next start.
    reminder_.Store(host_.store(), host_.nid(), *host_.platform().clock);
    if (rings) {
        runAlarmActions(due);
        if (host_.closing()) {
            return;
        }
        // An action that failed turned the alarm on again.
        reminder_.Store(host_.store(), host_.nid(), *host_.platform().clock);
    }
    startAlarmCheck();
    // While more alarms wait, the saves after edits carry their state; the last one saves at
    // once, so that a crash right after cannot ring the same alarm again.
    if (RingQueue::instance().empty()) {
        host_.store().RequestSave(SaveUrgency::Now);
    }
    refreshAlarmButtons();
    host_.announceChanged();
}

void CNoteAlarm::runAlarmActions(std::optional<LocalDateTime> due) {
    if (host_.closing()) {
        return;
    }
    // Also when run outside a timer (the alarm dialog rings at once): a box of an action runs
    // an event loop, and the alarm must not be handled again from inside it.
    FlagScope busy(timerBusy_);
    showStopAlarm(due);
    const int action = reminder_.remindAction;
    if ((action & 3) == 1) {
        QTimer::singleShot(0, this, [this] { host_.activateNote(); });
    }
    if ((action & 8) != 0) {
        beep();
        if (setting::get(host_.store(), setting::alarmBeepRepeat) != 0) {
            beepRepeatTimer_.start();
        }
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
        QTimer::singleShot(0, this, &CNoteAlarm::readAloud);
    }
    // A failed action is told only once every other action ran, so that no box holds the
    // rest back; the count to a shut-down starts last, with no box of this alarm above it.
    std::vector<std::string> failures;
    bool shutDown = false;
    if ((action & 16) != 0 && host_.platform().powerOff != nullptr) {
        if (host_.platform().powerOff->canPowerOff()) {
            shutDown = true;
        } else {
            failures.push_back(shutDownFailure(host_.platform().powerOff->problem()));
        }
    }
    if ((action & 32) != 0 && !host_.platform().shell->open(reminder_.remindWav)) {
        failures.push_back("Can't open the sound file.");
    }
    if ((action & 64) != 0 && !host_.platform().shell->open(reminder_.remindUrl)) {
        failures.push_back("Can't open url.");
    }
    // A program is started directly with the arguments written after it; anything else is
    // opened as a document.
    if ((action & 128) != 0 && !LaunchProgram(*host_.platform().shell, reminder_.remindExe)) {
        failures.push_back("Can't open program or file.");
    }
    for (const std::string& failure : failures) {
        if (host_.closing()) {
            return;
        }
        reportActionError(failure);
    }
    if (shutDown && !host_.closing()) {
        startShutDownCountdown();
    }
}

void CNoteAlarm::reportActionError(const std::string& text) {
    if (host_.closing()) {
        return;
    }
    // The alarm is not switched back on: a one-time alarm has rung, whatever its actions did.
    host_.beginModal();
    host_.platform().messages->showMessage("Error", "", text, res::ICON_ERROR);
    host_.endModal();
}

CShutDownCountdown* CNoteAlarm::shutDownCountdown() const {
    return shutDownCountdown_;
}

void CNoteAlarm::startShutDownCountdown() {
    if (shutDownCountdown_ != nullptr) {
        // A count already runs: a second ringing neither restarts nor shortens it.
        return;
    }
    QPointer<CNoteAlarm> self(this);
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

void CNoteAlarm::shutDownNow() {
    if (host_.closing() || host_.platform().powerOff == nullptr) {
        return;
    }
    if (!host_.platform().powerOff->powerOff()) {
        host_.beginModal();
        host_.platform().messages->showMessage(
            "Error", "Brightpost", shutDownFailure(host_.platform().powerOff->problem()),
            res::ICON_ERROR);
        host_.endModal();
    }
}

void CNoteAlarm::flashStep() {
    int& left = reminder_.flashesLeft;
    if (left <= 0) {
        stopFlashing();
        host_.trayTipChanged();
        return;
    }
    // The hidden phases are not stored: a program ended in one must not start with the note
    // hidden. A note that was hidden when the alarm rang is brought up for good.
    if (host_.windowShown()) {
        host_.showQuietly(false);
        return;
    }
    if (host_.store().GetNote(kLiveSource, host_.nid(), note::isClosed) != 0) {
        host_.showAndRecord();
    } else {
        host_.showQuietly(true);
    }
    if ((reminder_.remindAction & 1) != 0) {
        host_.raiseForAlarm();
    }
    if (stopAlarm_ != nullptr) {
        // A note shown again lands on top of its layer; the offer to stop stays above it.
        stopAlarm_->raise();
    }
    --left;
}

void CNoteAlarm::snoozeEnded() {
    if (alarmDialogOpen_ || reminder_.remindAction == 0) {
        return;
    }
    waitingToRing_ |= kSnoozeEndWaits;
    RingQueue::instance().add(*this, localNow(*host_.platform().clock));
}

bool CNoteAlarm::checkExpiration() {
    if (expireTime_ == 0) {
        return false;
    }
    const std::uint32_t expires = host_.store().GetNote(kLiveSource, host_.nid(), note::expireTime);
    expireTime_ = expires;
    if (expires == 0) {
        return false;
    }
    const IClock& clock = *host_.platform().clock;
    if (!toLocal(clock, expires).notLater(localNow(clock))) {
        return false;
    }
    // The main window removes the note; nothing of it may be used once it has.
    host_.removeExpired();
    return host_.closing();
}

void CNoteAlarm::showStopAlarm(std::optional<LocalDateTime> due) {
    if (host_.closing()) {
        return;
    }
    if (stopAlarm_ != nullptr) {
        // A ringing that comes while the window of the last one is still up replaces it;
        // forgotten, it could be pressed but never closed.
        stopAlarm_->hide();
        stopAlarm_->deleteLater();
    }
    stopAlarm_ = new CStopAlarm(*this, due.value_or(localNow(*host_.platform().clock)));
    stopAlarm_->showNextToNote();
    stopAlarm_->showNotification();
}

void CNoteAlarm::beep() {
    if (host_.platform().sound != nullptr) {
        host_.platform().sound->playTones({{100, 500}, {200, 500}, {300, 500}, {400, 500}});
    }
}

void CNoteAlarm::stopAlarm() {
    beepRepeatTimer_.stop();
    if (host_.closing()) {
        return;
    }
    stopFlashing();
    host_.stopReading();
    CStopAlarm* window = stopAlarm_;
    stopAlarm_ = nullptr;
    if (window != nullptr) {
        window->hide();
    }
    host_.activateNote();
    if (window != nullptr) {
        // The press that got here is still being handled by the window's button.
        window->deleteLater();
    }
}

void CNoteAlarm::markMissed(const LocalDateTime& due) {
    if (host_.closing()) {
        return;
    }
    storeMissedAlarm(host_.store(), host_.nid(), toStored(*host_.platform().clock, due));
    missedMarkChanged();
}

void CNoteAlarm::openedByUser() {
    if (host_.closing() || !storedMissedAlarm(host_.store(), host_.nid())) {
        return;
    }
    storeMissedAlarm(host_.store(), host_.nid(), std::nullopt);
    missedMarkChanged();
}

void CNoteAlarm::missedMarkChanged() {
    // Kept across a restart: the user may be away longer than the program runs.
    host_.store().RequestSave(SaveUrgency::Soon);
    refreshAlarmButtons();
    host_.announceChanged();
    host_.trayTipChanged();
}

std::optional<QString> CNoteAlarm::missedAlarmText() const {
    const std::optional<std::uint32_t> due = storedMissedAlarm(host_.store(), host_.nid());
    if (!due) {
        return std::nullopt;
    }
    const IClock& clock = *host_.platform().clock;
    return QString::fromStdString(
        displayTime(clock, calendarOf(toLocal(clock, *due)), TimeStyle::Moment));
}

void CNoteAlarm::snoozeAlarm() {
    if (host_.closing()) {
        return;
    }
    stopAlarm();
    if (host_.hasTitleBar()) {
        host_.showStopSnooze(true);
    }
    snoozeTimer_.start(reminder_.remindSnoozeTime);
    if (reminder_.remindSnoozeTime > 0) {
        const IClock& clock = *host_.platform().clock;
        snoozeEnd_ = localNow(clock).plusSeconds(reminder_.remindSnoozeTime / 1000);
        storeSnoozeEnd(host_.store(), host_.nid(), toStored(clock, *snoozeEnd_));
        refreshAlarmButtons();
        host_.announceChanged();
    }
}

void CNoteAlarm::resumeSnooze() {
    const std::optional<std::uint32_t> stored = storedSnoozeEnd(host_.store(), host_.nid());
    if (!stored) {
        return;
    }
    if (reminder_.remindAction == 0) {
        // Nothing would ring at its end.
        storeSnoozeEnd(host_.store(), host_.nid(), std::nullopt);
        return;
    }
    const IClock& clock = *host_.platform().clock;
    snoozeEnd_ = toLocal(clock, *stored);
    const std::int64_t left = snoozeEnd_->serial() - localNow(clock).serial();
    // One that ended while the program was not running rings at the first look.
    snoozeTimer_.start(static_cast<int>(std::clamp<std::int64_t>(left, kAlarmCheckMs, INT_MAX)));
    if (host_.hasTitleBar()) {
        host_.showStopSnooze(true);
    }
}

void CNoteAlarm::cancelSnooze() {
    if (host_.closing()) {
        return;
    }
    snoozeTimer_.stop();
    if (host_.hasTitleBar()) {
        host_.showStopSnooze(false);
    }
    if (snoozeEnd_) {
        snoozeEnd_.reset();
        storeSnoozeEnd(host_.store(), host_.nid(), std::nullopt);
        refreshAlarmButtons();
        host_.announceChanged();
    }
}

void CNoteAlarm::readAloud() {
    if (!host_.closing()) {
        host_.beginReading();
    }
}

void CNoteAlarm::switchExpirationOff() {
    if (host_.closing()) {
        return;
    }
    if (host_.hasTitleBar()) {
        host_.showExpiration(false);
    }
    host_.store().SetNote(host_.nid(), 0, note::expireTime);
}

}  // namespace bp
