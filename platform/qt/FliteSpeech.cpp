#include "FliteSpeech.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>
#include <QMetaObject>

#include <cstring>
#include <mutex>

extern "C" {
#include <flite/flite.h>
cst_voice* register_cmu_us_kal16(const char* voxdir);
}

namespace bp {

namespace {

// The sound server cuts the last moments of a sound: a little silence after the text keeps
// its last word whole.
constexpr int kTrailingSilenceMs = 300;

cst_voice* voice() {
    static cst_voice* const loaded = [] {
        flite_init();
        return register_cmu_us_kal16(nullptr);
    }();
    return loaded;
}

// One synthesis at a time: the voice's state is not to be shared between threads.
std::mutex& synthesisLock() {
    static std::mutex lock;
    return lock;
}

}  // namespace

FliteSpeech::FliteSpeech() = default;

FliteSpeech::~FliteSpeech() {
    ++generation_;
    joinSynthesis();
    stopSink();
}

void FliteSpeech::joinSynthesis() {
    if (synthesis_.joinable()) {
        synthesis_.join();
    }
}

bool FliteSpeech::speak(const std::string& utf8Text) {
    purge();
    if (QMediaDevices::defaultAudioOutput().isNull()) {
        problem_ = "There is no sound output: no sound server (PulseAudio or PipeWire) answers.";
        state_ = State::Failed;
        return false;
    }
    problem_.clear();
    state_ = State::Synthesizing;
    const std::uint64_t generation = ++generation_;
    joinSynthesis();
    synthesis_ = std::thread([this, generation, text = utf8Text] {
        QByteArray samples;
        int rate = 0;
        {
            std::lock_guard<std::mutex> lock(synthesisLock());
            if (cst_voice* v = voice()) {
                if (cst_wave* wave = flite_text_to_wave(text.c_str(), v)) {
                    rate = wave->sample_rate;
                    samples = QByteArray(reinterpret_cast<const char*>(wave->samples),
                                         qsizetype(wave->num_samples) * wave->num_channels *
                                             qsizetype(sizeof(short)));
                    delete_wave(wave);
                }
            }
        }
        QMetaObject::invokeMethod(
            this, [this, generation, samples, rate] { play(generation, samples, rate); },
            Qt::QueuedConnection);
    });
    return true;
}

void FliteSpeech::play(std::uint64_t generation, QByteArray samples, int sampleRate) {
    if (generation != generation_ || state_ != State::Synthesizing) {
        return;  // purged meanwhile
    }
    if (sampleRate <= 0) {
        problem_ = "The flite voice could not be loaded.";
        state_ = State::Failed;
        return;
    }
    QAudioFormat format;
    format.setSampleRate(sampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    samples.append(QByteArray(format.bytesForDuration(kTrailingSilenceMs * 1000), '\0'));

    buffer_ = new QBuffer(this);
    buffer_->setData(samples);
    buffer_->open(QIODevice::ReadOnly);
    sink_ = new QAudioSink(QMediaDevices::defaultAudioOutput(), format, this);
    connect(sink_, &QAudioSink::stateChanged, this, &FliteSpeech::onSinkState);
    state_ = State::Playing;
    sink_->start(buffer_);
    onSinkState();
}

void FliteSpeech::onSinkState() {
    if (sink_ == nullptr || state_ != State::Playing) {
        return;
    }
    const QAudio::Error error = sink_->error();
    const QAudio::State state = sink_->state();
    if (state == QAudio::IdleState && buffer_->atEnd()) {
        state_ = State::Done;
        stopSink();
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
        case State::Synthesizing:
        case State::Playing:
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
    ++generation_;
    stopSink();
    if (state_ == State::Synthesizing || state_ == State::Playing) {
        state_ = State::Done;
    }
}

}  // namespace bp
