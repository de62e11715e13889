#pragma once

#include "platform/Sound.h"

#include <QByteArray>
#include <QObject>

#include <memory>

class QAudioFormat;
class QAudioSink;
class QBuffer;

namespace bp {

// The alarm's beep through the desktop's sound server. The tones are rendered into one
// buffer, which the sink reads on its own while the caller goes on. Without a sound output
// nothing plays.
class QtSound : public QObject, public ISound {
    Q_OBJECT
public:
    explicit QtSound(QObject* parent = nullptr);
    ~QtSound() override;

    void playTones(const std::vector<Tone>& tones) override;
    // True from the start of a beep until the output has taken all of it or failed.
    bool playing() const { return sink_ != nullptr; }

    // The tones as signed 16-bit samples (little-endian, channels interleaved). Each tone
    // fades in and out and is followed by a short silence, and a longer one closes the
    // buffer: a sink stops as soon as its data ends and would cut the last tone short.
    static QByteArray render(const std::vector<Tone>& tones, int sampleRate, int channels);
    static constexpr int kGapMs = 30;
    static constexpr int kTailMs = 300;

private:
    void stop();

    std::unique_ptr<QAudioSink> sink_;
    std::unique_ptr<QBuffer> buffer_;
    QByteArray pcm_;
};

}  // namespace bp
