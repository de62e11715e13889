#include "FliteSpeech.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>
#include <QMetaObject>

extern "C" {
#include <flite/flite.h>
cst_voice* register_cmu_us_kal16(const char* voxdir);
}

namespace bp {

namespace {

// A few seconds of speech each.
constexpr std::size_t kPieceChars = 400;
// Pieces made ahead of the one being heard, so that the next one is ready in time.
constexpr int kPiecesAhead = 2;
// The sound server cuts the last moments of a sound: a little silence after each piece keeps
// its last word whole.
constexpr int kTrailingSilenceMs = 200;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

std::string trimmed(const std::string& s) {
    std::size_t begin = 0;
    std::size_t end = s.size();
    while (begin < end && isBlank(s[begin])) {
        ++begin;
    }
    while (end > begin && isBlank(s[end - 1])) {
        --end;
    }
    return s.substr(begin, end - begin);
}

// Where to end a piece of a line longer than max: after the last end of a sentence, else at
// the last blank, else at the last character boundary.
std::size_t cutPoint(const std::string& line, std::size_t max) {
    for (std::size_t i = max; i > 1; --i) {
        const char c = line[i - 2];
        if ((c == '.' || c == '!' || c == '?' || c == ';') && isBlank(line[i - 1])) {
            return i - 1;
        }
    }
    for (std::size_t i = max; i > 0; --i) {
        if (isBlank(line[i])) {
            return i;
        }
    }
    std::size_t i = max;
    while (i > 0 && (static_cast<unsigned char>(line[i]) & 0xC0) == 0x80) {
        --i;
    }
    return i > 0 ? i : max;
}

cst_voice* voice() {
    static cst_voice* const loaded = [] {
        flite_init();
        return register_cmu_us_kal16(nullptr);
    }();
    return loaded;
}

}  // namespace

std::vector<std::string> speechPieces(const std::string& text, std::size_t maxChars) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = trimmed(text.substr(start, end - start));
        while (line.size() > maxChars) {
            const std::size_t cut = cutPoint(line, maxChars);
            std::string piece = trimmed(line.substr(0, cut));
            if (!piece.empty()) {
                pieces.push_back(std::move(piece));
            }
            line = trimmed(line.substr(cut));
        }
        if (!line.empty()) {
            pieces.push_back(std::move(line));
        }
        start = end + 1;
    }
    return pieces;
}

FliteSpeech::FliteSpeech() = default;

FliteSpeech::~FliteSpeech() {
    stopSynthesis();
    stopSink();
}

void FliteSpeech::stopSynthesis() {
    ++generation_;
    {
        std::lock_guard<std::mutex> lock(aheadLock_);
        ahead_ = 0;
    }
    aheadChanged_.notify_all();
    // At most the piece being made is finished first.
    if (synthesis_.joinable()) {
        synthesis_.join();
    }
    pieces_.clear();
    allMade_ = false;
}

bool FliteSpeech::speak(const std::string& utf8Text) {
    purge();
    if (QMediaDevices::defaultAudioOutput().isNull()) {
        problem_ = "There is no sound output: no sound server (PulseAudio or PipeWire) answers.";
        state_ = State::Failed;
        return false;
    }
    problem_.clear();
    state_ = State::Speaking;
    const std::uint64_t generation = generation_;
    synthesis_ = std::thread(&FliteSpeech::synthesize, this, generation,
                             speechPieces(utf8Text, kPieceChars));
    return true;
}

void FliteSpeech::synthesize(std::uint64_t generation, std::vector<std::string> pieces) {
    cst_voice* v = voice();
    for (const std::string& piece : pieces) {
        if (v == nullptr) {
            break;
        }
        {
            std::unique_lock<std::mutex> lock(aheadLock_);
            aheadChanged_.wait(lock,
                               [&] { return generation_ != generation || ahead_ < kPiecesAhead; });
            if (generation_ != generation) {
                return;
            }
            ++ahead_;
        }
        QByteArray samples;
        int rate = 0;
        if (cst_wave* wave = flite_text_to_wave(piece.c_str(), v)) {
            rate = wave->sample_rate;
            samples = QByteArray(
                reinterpret_cast<const char*>(wave->samples),
                qsizetype(wave->num_samples) * wave->num_channels * qsizetype(sizeof(short)));
            delete_wave(wave);
        }
        QMetaObject::invokeMethod(
            this, [this, generation, samples, rate] { takePiece(generation, samples, rate); },
            Qt::QueuedConnection);
    }
    QMetaObject::invokeMethod(
        this, [this, generation, loaded = v != nullptr] { synthesisEnded(generation, loaded); },
        Qt::QueuedConnection);
}

void FliteSpeech::takePiece(std::uint64_t generation, QByteArray samples, int sampleRate) {
    if (generation != generation_ || state_ != State::Speaking) {
        return;  // purged meanwhile
    }
    pieces_.emplace_back(std::move(samples), sampleRate);
    if (sink_ == nullptr) {
        playNext();
    }
}

void FliteSpeech::synthesisEnded(std::uint64_t generation, bool voiceLoaded) {
    if (generation != generation_ || state_ != State::Speaking) {
        return;
    }
    if (!voiceLoaded) {
        problem_ = "The flite voice could not be loaded.";
        state_ = State::Failed;
        return;
    }
    allMade_ = true;
    if (sink_ == nullptr) {
        playNext();
    }
}

void FliteSpeech::madeOneHeard() {
    {
        std::lock_guard<std::mutex> lock(aheadLock_);
        --ahead_;
    }
    aheadChanged_.notify_all();
}

void FliteSpeech::playNext() {
    stopSink();
    // A piece flite could not make into sound is passed over.
    while (!pieces_.empty() && (pieces_.front().second <= 0 || pieces_.front().first.isEmpty())) {
        pieces_.pop_front();
        madeOneHeard();
    }
    if (pieces_.empty()) {
        if (allMade_) {
            state_ = State::Done;
        }
        return;
    }
    auto [samples, rate] = std::move(pieces_.front());
    pieces_.pop_front();
    madeOneHeard();

    QAudioFormat format;
    format.setSampleRate(rate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    samples.append(QByteArray(format.bytesForDuration(kTrailingSilenceMs * 1000), '\0'));
    buffer_ = new QBuffer(this);
    buffer_->setData(samples);
    buffer_->open(QIODevice::ReadOnly);
    sink_ = new QAudioSink(QMediaDevices::defaultAudioOutput(), format, this);
    connect(sink_, &QAudioSink::stateChanged, this, &FliteSpeech::onSinkState);
    sink_->start(buffer_);
    onSinkState();
}

void FliteSpeech::onSinkState() {
    if (sink_ == nullptr || state_ != State::Speaking) {
        return;
    }
    const QAudio::Error error = sink_->error();
    const QAudio::State state = sink_->state();
    if (state == QAudio::IdleState && buffer_->atEnd()) {
        sink_->disconnect(this);
        // Not from inside the sink's own signal.
        QMetaObject::invokeMethod(
            this,
            [this, generation = generation_.load()] {
                if (generation == generation_ && state_ == State::Speaking) {
                    playNext();
                }
            },
            Qt::QueuedConnection);
    } else if (state == QAudio::StoppedState && error != QAudio::NoError) {
        problem_ = error == QAudio::OpenError ? "The sound output could not be opened."
                                              : "The sound output failed while speaking.";
        state_ = State::Failed;
        stopSink();
    }
}

void FliteSpeech::stopSink() {
    if (sink_ != nullptr) {
        sink_->disconnect(this);
        sink_->stop();
        sink_->deleteLater();
        sink_ = nullptr;
    }
    if (buffer_ != nullptr) {
        buffer_->deleteLater();
        buffer_ = nullptr;
    }
}

ISpeech::Status FliteSpeech::status() {
    switch (state_) {
        case State::Speaking:
            return Status::Speaking;
        case State::Failed:
            return Status::Failed;
        case State::Idle:
        case State::Done:
            break;
    }
    return Status::Done;
}

void FliteSpeech::purge() {
    stopSynthesis();
    stopSink();
    if (state_ == State::Speaking) {
        state_ = State::Done;
    }
}

}  // namespace bp
