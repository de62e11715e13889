#pragma once

#include "platform/Speech.h"

#include <QDialog>
#include <QObject>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <string>

class QPushButton;
class QTimer;

namespace bp {

class CNote;
class INoteOwner;
class IUserMessages;
class IWindowSystem;

// The nid of the note that is reading aloud, 0 while none is. One for the whole program:
// only one note reads at a time.
extern std::int32_t readingNid;

// What a note says for its text: the text without white space at its ends, or a notice that
// there is nothing to say. Pictures in the text are not read.
std::string textToSpeak(const QString& plainText);

// Speaks one text and watches it to its end. The speech engines run on their own, so the
// watching is a timer on the GUI thread: it asks the engine every 500 ms whether the text has
// been spoken and whether a stop was asked for, and reports the end once.
class SpeechWatcher : public QObject {
    Q_OBJECT
public:
    static constexpr int kPollMs = 500;
    // ended gets an empty text after a normal end or a stop, and what went wrong when the
    // engine could not be made or gave up.
    using Ended = std::function<void(const std::string& problem)>;
    SpeechWatcher(ISpeech* speech, QString text, Ended ended, QObject* parent = nullptr);

    void run();
    // While suspended the worker does not look at the engine, so it cannot end.
    void suspend();
    void resume();
    void setStopFlag() { stop_ = 1; }
    int stopFlag() const { return stop_; }
    bool running() const { return running_; }
    const std::string& spokenText() const { return spoken_; }
    // The note goes away while it reads: the speech ends with it, and nothing is reported.
    void abandon();

private:
    void poll();
    void finish(const std::string& problem);

    ISpeech* speech_;
    QString text_;
    std::string spoken_;
    Ended ended_;
    QTimer* timer_;
    int stop_ = 0;
    bool running_ = false;
    bool suspended_ = false;
};

// The small always-on-top window "Reading" with its one button "Stop Reading". Escape and the
// window's close box ask to stop too.
class CReadingWindow : public QDialog {
    Q_OBJECT
public:
    CReadingWindow();
    QPushButton* stopButton() const { return stop_; }

signals:
    void stopRequested();

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QPushButton* stop_;
};

// One note's reading aloud: its start (waiting for another note's reading to end first), its
// Reading window while it runs, and every way it ends.
class NoteReading : public QObject {
    Q_OBJECT
public:
    NoteReading(CNote& note, INoteOwner& owner);
    ~NoteReading() override;

    // The note's command to read itself aloud: the button goes grey, and the reading starts
    // as soon as no other note reads.
    void beginReading();
    // The note's command after every reading: the program hears that nothing reads any more,
    // and the button works again.
    void readingFinished();
    // Another note wants to read: this reading ends within one look at the engine.
    void stopForAnotherReading();
    // The note's alarm was stopped: so is the reading of the note, and a start still waiting.
    void stopByAlarm();
    // "Stop Reading", Escape or the close box: asks the user whether to stop.
    void askToStop();

    CReadingWindow* window() const { return window_; }
    CNote* readingNote() const { return readingNote_; }
    SpeechWatcher* worker() const { return worker_; }
    bool waitingToStart() const { return waiting_; }

private:
    void waitForOtherReading();
    void startReading();
    void onWorkerEnded(const std::string& problem);
    void post(std::function<void()> call);
    // The worker ended: its window closes.
    void closeReading();
    // The worker is held while the user is asked, and let go on after.
    void suspendWorker();
    void resumeWorker();
    void setButtonEnabled(bool enabled);

    CNote& note_;
    INoteOwner& owner_;
    const std::int32_t nid_;
    QString text_;
    CNote* readingNote_ = nullptr;
    QPointer<CReadingWindow> window_;
    QPointer<SpeechWatcher> worker_;
    QTimer* waitTimer_;
    bool waiting_ = false;
    // The reading this note asked to stop before its own can start.
    std::int32_t askedToStop_ = 0;
};

}  // namespace bp
