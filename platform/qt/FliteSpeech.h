#pragma once

#include "platform/Speech.h"

#include <QByteArray>
#include <QObject>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class QAudioSink;
class QBuffer;

namespace bp {

// Splits a text into pieces of at most maxChars bytes that are spoken one after the other:
// at line ends first, then after the ends of sentences, then between words, and only inside
// a word that is longer than a piece. Never inside a UTF-8 character. Pieces of nothing but
// white space are left out.
std::vector<std::string> speechPieces(const std::string& utf8Text, std::size_t maxChars);

// Speech with the flite synthesiser, played by the program itself. A thread of its own makes
// the text into sound a piece at a time, a few pieces ahead of what is heard, and the sound
// server takes each piece at its own pace: a server that is slow to answer or briefly busy
// delays the speech and loses none of it, and a long note neither waits for all of its sound
// before the first word nor holds all of it in memory. (The toolkit's own flite engine writes
// ahead of the server and drops the text with "Audio streaming error" whenever the server is
// not ready for it.)
class FliteSpeech : public QObject, public ISpeech {
    Q_OBJECT
public:
    FliteSpeech();
    ~FliteSpeech() override;

    bool speak(const std::string& utf8Text) override;
    Status status() override;
    void purge() override;
    std::string problem() const override { return problem_; }

private:
    enum class State { Idle, Speaking, Done, Failed };
    void synthesize(std::uint64_t generation, std::vector<std::string> pieces);
    void takePiece(std::uint64_t generation, QByteArray samples, int sampleRate);
    void synthesisEnded(std::uint64_t generation, bool voiceLoaded);
    void playNext();
    void madeOneHeard();
    void onSinkState();
    void stopSink();
    void stopSynthesis();

    State state_ = State::Idle;
    std::string problem_;
    // Written on the GUI thread, read by the synthesis thread, which stops once it changed.
    std::atomic<std::uint64_t> generation_{0};
    std::thread synthesis_;
    // Pieces made (or being made) whose playing has not begun; the synthesis waits while it is
    // at its limit.
    std::mutex aheadLock_;
    std::condition_variable aheadChanged_;
    int ahead_ = 0;

    std::deque<std::pair<QByteArray, int>> pieces_;
    bool allMade_ = false;
    QAudioSink* sink_ = nullptr;
    QBuffer* buffer_ = nullptr;
};

}  // namespace bp
