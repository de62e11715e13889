#pragma once

#include "platform/Speech.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTextToSpeech>

#include <memory>
#include <string>
#include <vector>

namespace bp {

class FliteSpeech;

// Speech through the engine chooseSpeechEngine names: flite is the program's own (FliteSpeech),
// the others are the toolkit's text-to-speech engines. The engine is made at the first reading
// and kept; one that failed is made again at the next.
class QtSpeech : public ISpeech {
public:
    QtSpeech();
    ~QtSpeech() override;

    bool speak(const std::string& utf8Text) override;
    Status status() override;
    void purge() override;
    std::string problem() const override { return problem_; }
    std::vector<std::string> voices() override;
    void setVoice(const std::string& name) override;

    // The engine in use, empty before the first reading.
    QString engineName() const;

private:
    bool makeEngine();
    void dropEngine();
    void applyVoice();
    void onState(QTextToSpeech::State state);
    void onError(const QString& text);

    std::unique_ptr<FliteSpeech> flite_;
    QPointer<QTextToSpeech> engine_;
    std::string problem_;
    std::string voice_;
    // The engine still reads Ready right after say(): a text counts as spoken only once the
    // engine has been seen speaking it and back at rest.
    bool pending_ = false;
    bool heardSpeaking_ = false;
    bool finished_ = false;
    bool failed_ = false;
    // An engine that never starts to speak a text would keep a reading open for ever.
    QElapsedTimer sinceSay_;
};

}  // namespace bp
