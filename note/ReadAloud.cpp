#include "ReadAloud.h"

#include "Note.h"
#include "NoteBody.h"
#include "NoteOwner.h"
#include "Title.h"
#include "TitleButton.h"
#include "platform/Messages.h"
#include "platform/UserMessages.h"
#include "platform/WindowSystem.h"
#include "store/Settings.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

namespace bp {

std::int32_t readingNid = 0;

namespace {

const char kEmptyNote[] = "Your sticky note is empty!";
// How often a note that wants to read looks whether the running reading has ended.
constexpr int kWaitPollMs = 50;

}  // namespace

std::string textToSpeak(const QString& plainText) {
    QString text = plainText;
    text.remove(QChar::ObjectReplacementCharacter);
    text = text.trimmed();
    if (text.isEmpty()) {
        return kEmptyNote;
    }
    return text.toStdString();
}

// --- the worker -----------------------------------------------------------------------------

SpeechWatcher::SpeechWatcher(ISpeech* speech, QString text, Ended ended, QObject* parent)
    : QObject(parent), speech_(speech), text_(std::move(text)), ended_(std::move(ended)) {
    timer_ = new QTimer(this);
    timer_->setInterval(kPollMs);
    connect(timer_, &QTimer::timeout, this, &SpeechWatcher::poll);
}

void SpeechWatcher::run() {
    spoken_ = textToSpeak(text_);
    stop_ = 0;
    running_ = true;
    if (speech_ == nullptr) {
        finish("This computer has no speech service.");
        return;
    }
    if (!speech_->speak(spoken_)) {
        finish(speech_->problem());
        return;
    }
    poll();
}

void SpeechWatcher::poll() {
    if (!running_ || suspended_) {
        return;
    }
    const ISpeech::Status status = speech_->status();
    if (status == ISpeech::Status::Failed) {
        speech_->purge();
        finish(speech_->problem());
    } else if (status == ISpeech::Status::Done || stop_ != 0) {
        if (stop_ != 0) {
            speech_->purge();
        }
        finish({});
    } else if (!timer_->isActive()) {
        timer_->start();
    }
}

void SpeechWatcher::finish(const std::string& problem) {
    timer_->stop();
    running_ = false;
    // A stop asked for after this point has nothing left to stop.
    stop_ = 1;
    if (ended_) {
        ended_(problem);
    }
}

void SpeechWatcher::suspend() {
    suspended_ = true;
    timer_->stop();
}

void SpeechWatcher::resume() {
    suspended_ = false;
    if (running_) {
        timer_->start();
    }
}

void SpeechWatcher::abandon() {
    if (running_) {
        timer_->stop();
        running_ = false;
        stop_ = 1;
        if (speech_ != nullptr) {
            speech_->purge();
        }
    }
}

// --- the Reading window ---------------------------------------------------------------------

CReadingWindow::CReadingWindow() : QDialog(nullptr) {
    setObjectName(QStringLiteral("dialog%1").arg(res::DLG_READING));
    setWindowTitle(QStringLiteral("Reading"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFixedSize(180, 50);
    // The template's frame, progress bar and text stay hidden; only the button is shown.
    auto* frame = new QGroupBox(this);
    frame->hide();
    auto* progress = new QProgressBar(this);
    progress->hide();
    auto* label = new QLabel(QStringLiteral("Speaking your note's text"), this);
    label->hide();
    stop_ = new QPushButton(QStringLiteral("Stop Reading"), this);
    stop_->setObjectName(QStringLiteral("stopReading"));
    stop_->setGeometry(40, 13, 100, 24);
    stop_->setDefault(true);
    connect(stop_, &QPushButton::clicked, this, &CReadingWindow::stopRequested);
}

void CReadingWindow::reject() {
    emit stopRequested();
}

void CReadingWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    emit stopRequested();
}

// --- one note's reading ---------------------------------------------------------------------

NoteReading::NoteReading(CNote& note, INoteOwner& owner)
    : QObject(&note), note_(note), owner_(owner), nid_(note.nid()) {
    waitTimer_ = new QTimer(this);
    waitTimer_->setInterval(kWaitPollMs);
    connect(waitTimer_, &QTimer::timeout, this, &NoteReading::waitForOtherReading);
}

NoteReading::~NoteReading() {
    // A note that goes while it reads takes its speech with it. Nor may it leave the program
    // believing it still reads, even when its last word came after it began closing and was
    // not heard: every later reading would wait for it for ever.
    if (worker_) {
        worker_->abandon();
        delete worker_;
    }
    delete window_;
    if (readingNid == nid_) {
        readingNid = 0;
    }
}

void NoteReading::post(std::function<void()> call) {
    QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
}

void NoteReading::setButtonEnabled(bool enabled) {
    if (note_.title() != nullptr) {
        if (CTitleButton* button = note_.title()->button(cmd::TITLE_READ_BUTTON)) {
            button->setEnabled(enabled);
        }
    }
}

void NoteReading::beginReading() {
    setButtonEnabled(false);
    QString text = note_.body() != nullptr ? note_.body()->toPlainText() : QString();
    text_ = text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    if (waiting_) {
        return;  // the start already waiting reads the newest text
    }
    if (readingNid != 0 || worker_ || window_) {
        waiting_ = true;
        askedToStop_ = readingNid;
        if (readingNid != 0) {
            owner_.stopOtherReading();
        }
        waitTimer_->start();
        return;
    }
    startReading();
}

void NoteReading::waitForOtherReading() {
    if (note_.closing()) {
        waitTimer_->stop();
        waiting_ = false;
        return;
    }
    // The note's own reading that is being stopped ends through its window's message, which
    // may come after the program has heard of its end.
    if (readingNid == 0 && !worker_ && !window_) {
        waitTimer_->stop();
        waiting_ = false;
        startReading();
        return;
    }
    // Yet another note started reading meanwhile: the newest request wins here too.
    if (readingNid != 0 && readingNid != askedToStop_) {
        askedToStop_ = readingNid;
        owner_.stopOtherReading();
    }
}

void NoteReading::startReading() {
    // An earlier reading of this note that ended while this one waited gave the button back.
    setButtonEnabled(false);
    readingNote_ = &note_;
    readingNid = nid_;

    auto* window = new CReadingWindow();
    connect(window, &CReadingWindow::stopRequested, this, &NoteReading::askToStop);
    window_ = window;
    // Read at every start: the settings dialog may have changed it since the last reading.
    if (ISpeech* speech = note_.platform().speech) {
        speech->setVoice(setting::get(note_.store(), setting::speechVoice));
    }
    worker_ = new SpeechWatcher(
        note_.platform().speech, text_,
        [this](const std::string& problem) { onWorkerEnded(problem); }, this);
    worker_->run();
    // An engine that cannot be made ends the reading at once: no window flashes up before
    // the user is told why.
    if (worker_->running()) {
        note_.platform().windows->setStacking(window, IWindowSystem::Stacking::Top);
        window->show();
        note_.platform().windows->windowShown(window);
    }
}

void NoteReading::onWorkerEnded(const std::string& problem) {
    post([this] {
        if (!note_.closing()) {
            readingFinished();
        }
    });
    post([this] { closeReading(); });
    if (!problem.empty()) {
        // Told once the window is gone and the button works again.
        post([this, problem] {
            note_.platform().messages->showMessage(
                "Error", "", "Your note cannot be read aloud.\n" + problem, res::ICON_WARNING);
        });
    }
}

void NoteReading::readingFinished() {
    owner_.readingEnded();
    setButtonEnabled(true);
}

void NoteReading::stopForAnotherReading() {
    if (window_ && readingNote_ != nullptr && worker_) {
        worker_->setStopFlag();
    }
}

void NoteReading::stopByAlarm() {
    if (waiting_) {
        waitTimer_->stop();
        waiting_ = false;
        if (!worker_) {
            setButtonEnabled(true);
        }
    }
    if (readingNote_ != nullptr && worker_) {
        worker_->setStopFlag();
        readingNote_ = nullptr;
    }
}

void NoteReading::closeReading() {
    readingNote_ = nullptr;
    if (worker_) {
        worker_->deleteLater();
        worker_ = nullptr;
    }
    if (window_) {
        window_->hide();
        window_->deleteLater();
        window_ = nullptr;
    }
}

void NoteReading::suspendWorker() {
    if (worker_) {
        worker_->suspend();
    }
}

void NoteReading::resumeWorker() {
    if (worker_) {
        worker_->resume();
    }
}

void NoteReading::askToStop() {
    // Once the worker has ended there is nothing left to stop: its window is about to close.
    if (!worker_ || !worker_->running()) {
        return;
    }
    suspendWorker();
    const QPointer<SpeechWatcher> worker = worker_;
    const bool yes = note_.platform().messages->askYesNo(
        "Warning", "", "Are you sure you want to stop reading?", res::ICON_QUESTION);
    if (!worker) {
        return;  // the note went away while the user was asked
    }
    if (yes) {
        worker->setStopFlag();
    }
    resumeWorker();
}

}  // namespace bp
