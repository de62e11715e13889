#include "QtSound.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace bp {

namespace {

constexpr int kSampleRate = 44100;
constexpr int kFadeMs = 5;
constexpr double kAmplitude = 0.5 * 32767;

void appendSilence(QByteArray& out, int frames, int channels) {
    out.append(static_cast<qsizetype>(frames) * channels * 2, '\0');
}

}  // namespace

QtSound::QtSound(QObject* parent) : QObject(parent) {}

QtSound::~QtSound() {
    stop();
}

QByteArray QtSound::render(const std::vector<Tone>& tones, int sampleRate, int channels) {
    QByteArray out;
    const int fadeFrames = sampleRate * kFadeMs / 1000;
    for (const Tone& tone : tones) {
        const int frames = static_cast<int>(static_cast<long long>(sampleRate) *
                                            std::clamp(tone.durationMs, 0, 10000) / 1000);
        const double step = 2 * std::numbers::pi * std::max(0, tone.frequencyHz) / sampleRate;
        for (int i = 0; i < frames; ++i) {
            const int edge = std::min(i, frames - 1 - i);
            const double envelope = edge < fadeFrames ? double(edge) / fadeFrames : 1.0;
            const auto sample =
                static_cast<qint16>(std::lround(kAmplitude * envelope * std::sin(step * i)));
            char bytes[2];
            qToLittleEndian(sample, bytes);
            for (int c = 0; c < channels; ++c) {
                out.append(bytes, 2);
            }
        }
        appendSilence(out, sampleRate * kGapMs / 1000, channels);
    }
    appendSilence(out, sampleRate * kTailMs / 1000, channels);
    return out;
}

void QtSound::stop() {
    if (sink_) {
        sink_->disconnect(this);
        sink_->stop();
    }
    sink_.reset();
    buffer_.reset();
}

void QtSound::playTones(const std::vector<Tone>& tones) {
    stop();
    if (tones.empty()) {
        return;
    }
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) {
        return;
    }
    QAudioFormat format;
    format.setSampleRate(kSampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format)) {
        // Some outputs take only their own rate or channel count; 16-bit samples they all take.
        const QAudioFormat preferred = device.preferredFormat();
        format.setSampleRate(preferred.sampleRate());
        format.setChannelCount(preferred.channelCount());
        if (!device.isFormatSupported(format)) {
            return;
        }
    }
    pcm_ = render(tones, format.sampleRate(), format.channelCount());
    buffer_ = std::make_unique<QBuffer>(&pcm_);
    buffer_->open(QIODevice::ReadOnly);
    sink_ = std::make_unique<QAudioSink>(device, format);
    QAudioSink* sink = sink_.get();
    connect(sink, &QAudioSink::stateChanged, this, [this, sink](QAudio::State state) {
        // Releases the output once everything was played, or when it failed; not from
        // inside the sink's own signal, and not a newer beep's sink.
        if (state == QAudio::IdleState || state == QAudio::StoppedState) {
            QMetaObject::invokeMethod(
                this,
                [this, sink] {
                    if (sink_.get() == sink) {
                        stop();
                    }
                },
                Qt::QueuedConnection);
        }
    });
    // A generous buffer: on a busy machine the sound server would otherwise run dry between
    // refills and cut gaps into the tones.
    sink_->setBufferSize(format.bytesForDuration(400000));
    sink_->start(buffer_.get());
}

}  // namespace bp
