#pragma once

#include "platform/Speech.h"

#include <QAudioFormat>
#include <QByteArray>
#include <QObject>

#include <cstdint>
#include <string>
#include <thread>

class QAudioSink;
class QBuffer;

namespace bp {

// Speech with the flite synthesiser, played by the program itself. The whole text is made
// into sound on a thread of its own first, then handed to the sound server, which takes it at
// its own pace: a sound server that is slow to answer or briefly busy delays the speech and
// loses none of it. (The toolkit's own flite engine writes ahead of the server and drops the
// text with "Audio streaming error" whenever the server is not ready for it.)
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
    enum class State { Idle, Synthesizing, Playing, Done, Failed };
    void play(std::uint64_t generation, QByteArray samples, int sampleRate);
    void onSinkState();
    void stopSink();
    void joinSynthesis();

    State state_ = State::Idle;
    std::string problem_;
    std::uint64_t generation_ = 0;
    std::thread synthesis_;
    QAudioSink* sink_ = nullptr;
    QBuffer* buffer_ = nullptr;
};

}  // namespace bp
