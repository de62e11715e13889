#pragma once

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>

namespace bp {

// Which of the installed speech engines reads notes. The engine is always named: the toolkit's
// own default and its order of engines differ between installations.
//  - `requested` (BRIGHTPOST_SPEECH_ENGINE) is taken as it is, and only that one;
//  - speech-dispatcher when the user's desktop already runs it, so that the voice, rate and
//    output the user chose there apply;
//  - otherwise flite, which needs no daemon;
//  - otherwise speech-dispatcher, which its client starts on demand.
std::optional<QString> chooseSpeechEngine(const QStringList& available, const QString& requested,
                                          bool dispatcherRunning);

// The language notes are read in: the user's own when the engine has a voice for it, else the
// first of the same language, else US English, else whatever the engine offers first.
std::optional<QLocale> chooseSpeechLocale(const QList<QLocale>& available, const QLocale& user);

}  // namespace bp
