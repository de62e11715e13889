#include "SpeechEngineChoice.h"

namespace bp {

namespace {

const QString kFlite = QStringLiteral("flite");
const QString kDispatcher = QStringLiteral("speechd");

}  // namespace

std::optional<QString> chooseSpeechEngine(const QStringList& available, const QString& requested,
                                          bool dispatcherRunning) {
    if (!requested.isEmpty()) {
        if (available.contains(requested)) {
            return requested;
        }
        return std::nullopt;
    }
    if (dispatcherRunning && available.contains(kDispatcher)) {
        return kDispatcher;
    }
    if (available.contains(kFlite)) {
        return kFlite;
    }
    if (available.contains(kDispatcher)) {
        return kDispatcher;
    }
    return std::nullopt;
}

std::optional<QLocale> chooseSpeechLocale(const QList<QLocale>& available, const QLocale& user) {
    if (available.isEmpty()) {
        return std::nullopt;
    }
    for (const QLocale& locale : available) {
        if (locale.language() == user.language() && locale.territory() == user.territory()) {
            return locale;
        }
    }
    for (const QLocale& locale : available) {
        if (locale.language() == user.language()) {
            return locale;
        }
    }
    for (const QLocale& locale : available) {
        if (locale.language() == QLocale::English && locale.territory() == QLocale::UnitedStates) {
            return locale;
        }
    }
    return available.front();
}

}  // namespace bp
