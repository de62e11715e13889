#include "LauncherRunner.h"

#include "ShellSearchProvider.h"
#include "scripting/NoteScripting.h"

#include <QDBusMetaType>

namespace bp {

QDBusArgument& operator<<(QDBusArgument& out, const RunnerMatch& match) {
    out.beginStructure();
    out << match.id << match.text << match.iconName << match.type << match.relevance
        << match.properties;
    out.endStructure();
    return out;
}

const QDBusArgument& operator>>(const QDBusArgument& in, RunnerMatch& match) {
    in.beginStructure();
    in >> match.id >> match.text >> match.iconName >> match.type >> match.relevance >>
        match.properties;
    in.endStructure();
    return in;
}

QDBusArgument& operator<<(QDBusArgument& out, const RunnerAction& action) {
    out.beginStructure();
    out << action.id << action.text << action.iconName;
    out.endStructure();
    return out;
}

const QDBusArgument& operator>>(const QDBusArgument& in, RunnerAction& action) {
    in.beginStructure();
    in >> action.id >> action.text >> action.iconName;
    in.endStructure();
    return in;
}

LauncherRunner::LauncherRunner(INoteScripting& notes, QObject* parent)
    : QObject(parent), notes_(notes), search_(notes) {}

void LauncherRunner::registerTypes() {
    qDBusRegisterMetaType<RunnerMatch>();
    qDBusRegisterMetaType<QList<RunnerMatch>>();
    qDBusRegisterMetaType<RunnerAction>();
    qDBusRegisterMetaType<QList<RunnerAction>>();
}

QList<RunnerMatch> LauncherRunner::Match(const QString& query) {
    QList<RunnerMatch> matches;
    for (const NoteSearchHit& hit :
         search_.search(query.simplified().split(u' ', Qt::SkipEmptyParts))) {
        if (static_cast<std::size_t>(matches.size()) == kMatchLimit) {
            break;
        }
        const std::optional<NoteCard> card = search_.card(hit);
        if (!card) {
            continue;
        }
        RunnerMatch match;
        match.id = hit.id;
        match.text = card->name;
        match.iconName = QString::fromLatin1(ShellSearchProvider::kIconName);
        match.type = hit.titleIsQuery ? kExactMatch : kPossibleMatch;
        match.relevance = hit.titleIsQuery ? 1.0 : hit.inTitle ? 0.8 : 0.5;
        match.properties.insert(QStringLiteral("subtext"), card->description);
        matches.append(match);
    }
    return matches;
}

QList<RunnerAction> LauncherRunner::Actions() {
    return {{QString::fromLatin1(kAlarmAction), QStringLiteral("Alarm…"),
             QStringLiteral("chronometer")}};
}

void LauncherRunner::Run(const QString& matchId, const QString& actionId) {
    if (actionId.isEmpty()) {
        search_.open(matchId);
    } else if (actionId == QLatin1String(kAlarmAction)) {
        notes_.command(NoteCommand::OpenAlarm, matchId.toStdString());
    }
}

}  // namespace bp
