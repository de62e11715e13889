#include "QtSpeech.h"

#include "FliteSpeech.h"
#include "SpeechEngineChoice.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

namespace bp {

namespace {

constexpr qint64 kStartTimeoutMs = 20000;

// Where a running speech-dispatcher listens for this user.
QString dispatcherSocket() {
    const QString address = qEnvironmentVariable("SPEECHD_ADDRESS");
    if (address.startsWith(QLatin1String("unix_socket:"))) {
        return address.mid(int(sizeof("unix_socket:")) - 1);
    }
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty()) {
        return {};
    }
    return QDir(runtime).filePath(QStringLiteral("speech-dispatcher/speechd.sock"));
}

bool dispatcherRunning() {
    const QString path = dispatcherSocket();
    if (path.isEmpty() || !QFile::exists(path)) {
        return false;
    }
    // A socket left behind by a daemon that has gone refuses at once.
    QLocalSocket socket;
    socket.connectToServer(path);
    const bool answered = socket.waitForConnected(200);
    socket.abort();
    return answered;
}

}  // namespace

QtSpeech::QtSpeech() = default;

QtSpeech::~QtSpeech() {
    dropEngine();
}

QString QtSpeech::engineName() const {
    if (flite_) {
        return QStringLiteral("flite");
    }
    return engine_ ? engine_->engine() : QString();
}

bool QtSpeech::makeEngine() {
    if (flite_ || (engine_ && engine_->state() != QTextToSpeech::Error)) {
        return true;
    }
    dropEngine();
    const QString requested = qEnvironmentVariable("BRIGHTPOST_SPEECH_ENGINE");
    QStringList available = QTextToSpeech::availableEngines();
    if (!available.contains(QLatin1String("flite"))) {
        available.append(QStringLiteral("flite"));  // built in
    }
    const std::optional<QString> name =
        chooseSpeechEngine(available, requested, requested.isEmpty() && dispatcherRunning());
    if (!name) {
        problem_ = requested.isEmpty()
                       ? "No speech engine is installed. Install the flite speech plugin "
                         "(qt6-speech-flite-plugin) or speech-dispatcher with its plugin "
                         "(qt6-speech-speechd-plugin)."
                       : "The speech engine \"" + requested.toStdString() +
                             "\" that BRIGHTPOST_SPEECH_ENGINE names is not installed.";
        return false;
    }
    if (*name == QLatin1String("flite")) {
        flite_ = std::make_unique<FliteSpeech>();
        return true;
    }
    auto* engine = new QTextToSpeech(*name);
    if (engine->state() == QTextToSpeech::Error || engine->engine() != *name) {
        const QString why = engine->errorString();
        problem_ = "The speech engine \"" + name->toStdString() + "\" could not be started" +
                   (why.isEmpty() ? std::string(".") : ": " + why.toStdString());
        delete engine;
        return false;
    }
    const std::optional<QLocale> locale =
        chooseSpeechLocale(engine->availableLocales(), QLocale::system());
    if (!locale) {
        problem_ = "The speech engine \"" + name->toStdString() + "\" has no voice.";
        delete engine;
        return false;
    }
    engine->setLocale(*locale);
    engine_ = engine;
    applyVoice();
    QObject::connect(engine, &QTextToSpeech::stateChanged, engine,
                     [this](QTextToSpeech::State state) { onState(state); });
    QObject::connect(engine, &QTextToSpeech::errorOccurred, engine,
                     [this](QTextToSpeech::ErrorReason, const QString& text) { onError(text); });
    return true;
}

std::vector<std::string> QtSpeech::voices() {
    std::vector<std::string> names;
    if (!makeEngine() || !engine_) {
        return names;
    }
    for (const QVoice& voice : engine_->availableVoices()) {
        names.push_back(voice.name().toStdString());
    }
    return names;
}

void QtSpeech::setVoice(const std::string& name) {
    voice_ = name;
    applyVoice();
}

void QtSpeech::applyVoice() {
    if (!engine_ || voice_.empty()) {
        return;
    }
    const QString wanted = QString::fromStdString(voice_);
    for (const QVoice& voice : engine_->availableVoices()) {
        if (voice.name() == wanted) {
            engine_->setVoice(voice);
            return;
        }
    }
}

void QtSpeech::dropEngine() {
    flite_.reset();
    if (engine_) {
        engine_->disconnect();
        delete engine_;
    }
    engine_ = nullptr;
}

bool QtSpeech::speak(const std::string& utf8Text) {
    pending_ = false;
    if (!makeEngine()) {
        return false;
    }
    if (flite_) {
        const bool started = flite_->speak(utf8Text);
        problem_ = flite_->problem();
        return started;
    }
    problem_.clear();
    heardSpeaking_ = false;
    finished_ = false;
    failed_ = false;
    pending_ = true;
    sinceSay_.start();
    engine_->say(QString::fromStdString(utf8Text));
    if (engine_->state() == QTextToSpeech::Speaking) {
        heardSpeaking_ = true;
    }
    return true;
}

ISpeech::Status QtSpeech::status() {
    if (flite_) {
        const Status status = flite_->status();
        problem_ = flite_->problem();
        return status;
    }
    if (failed_) {
        return Status::Failed;
    }
    if (!pending_ || finished_ || !engine_) {
        return Status::Done;
    }
    if (!heardSpeaking_ && sinceSay_.hasExpired(kStartTimeoutMs)) {
        engine_->stop(QTextToSpeech::BoundaryHint::Immediate);
        failed_ = true;
        problem_ =
            "The speech engine \"" + engine_->engine().toStdString() + "\" did not begin to speak.";
        return Status::Failed;
    }
    return Status::Speaking;
}

void QtSpeech::purge() {
    if (flite_) {
        flite_->purge();
        return;
    }
    pending_ = false;
    if (engine_) {
        engine_->stop(QTextToSpeech::BoundaryHint::Immediate);
    }
}

void QtSpeech::onState(QTextToSpeech::State state) {
    if (!pending_) {
        return;
    }
    switch (state) {
        case QTextToSpeech::Speaking:
            heardSpeaking_ = true;
            break;
        case QTextToSpeech::Ready:
            finished_ = heardSpeaking_;
            break;
        case QTextToSpeech::Error:
            onError(engine_ ? engine_->errorString() : QString());
            break;
        case QTextToSpeech::Paused:
            break;
    }
}

void QtSpeech::onError(const QString& text) {
    if (!pending_) {
        return;
    }
    failed_ = true;
    problem_ = "The speech engine stopped with an error" +
               (text.isEmpty() ? std::string(".") : ": " + text.toStdString());
}

}  // namespace bp
