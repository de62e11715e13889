#pragma once

#include "DesktopNoteSearch.h"

#include <QDBusArgument>
#include <QList>
#include <QMetaType>
#include <QObject>
#include <QString>
#include <QVariantMap>

namespace bp {

// One row a launcher lists: (id, text, icon name, match type, relevance 0..1, properties).
struct RunnerMatch {
    QString id;
    QString text;
    QString iconName;
    int type = 0;
    double relevance = 0;
    QVariantMap properties;
};

// Something else to do with a row than its default: (id, text, icon name).
struct RunnerAction {
    QString id;
    QString text;
    QString iconName;
};

QDBusArgument& operator<<(QDBusArgument& out, const RunnerMatch& match);
const QDBusArgument& operator>>(const QDBusArgument& in, RunnerMatch& match);
QDBusArgument& operator<<(QDBusArgument& out, const RunnerAction& action);
const QDBusArgument& operator>>(const QDBusArgument& in, RunnerAction& action);

// The notes in a launcher that asks runners over the session bus (org.kde.krunner1): a query's
// words must all show in a note, a row runs by showing its note, and its one action opens the
// note's alarm settings.
class LauncherRunner : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.krunner1")
public:
    // The launcher's match types: a possible match, and one Enter runs at once.
    static constexpr int kPossibleMatch = 30;
    static constexpr int kExactMatch = 100;
    // A launcher shows a handful of rows of each runner; the text of more notes would be read
    // for nothing on every key typed.
    static constexpr std::size_t kMatchLimit = 25;
    static constexpr const char* kAlarmAction = "alarm";

    explicit LauncherRunner(INoteScripting& notes, QObject* parent = nullptr);

    // The types need to be known to the bus before the object is registered.
    static void registerTypes();

public slots:
    QList<RunnerMatch> Match(const QString& query);
    QList<RunnerAction> Actions();
    void Run(const QString& matchId, const QString& actionId);
    void Teardown() {}

private:
    INoteScripting& notes_;
    DesktopNoteSearch search_;
};

}  // namespace bp

Q_DECLARE_METATYPE(bp::RunnerMatch)
Q_DECLARE_METATYPE(bp::RunnerAction)
