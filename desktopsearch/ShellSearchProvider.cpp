#include "ShellSearchProvider.h"

#include <QDBusMetaType>

namespace bp {

ShellSearchProvider::ShellSearchProvider(INoteScripting& notes, QObject* parent)
    : QObject(parent), search_(notes) {}

void ShellSearchProvider::registerTypes() {
    qDBusRegisterMetaType<QList<QVariantMap>>();
}

QStringList ShellSearchProvider::GetInitialResultSet(const QStringList& terms) {
    QStringList ids;
    for (const NoteSearchHit& hit : search_.search(terms)) {
        ids.append(hit.id);
    }
    return ids;
}

QStringList ShellSearchProvider::GetSubsearchResultSet(const QStringList& previousResults,
                                                       const QStringList& terms) {
    return search_.narrow(previousResults, terms);
}

QList<QVariantMap> ShellSearchProvider::GetResultMetas(const QStringList& ids) {
    QList<QVariantMap> metas;
    for (const QString& id : ids) {
        const std::optional<NoteCard> card = search_.card(id);
        if (!card) {
            continue;
        }
        metas.append(QVariantMap{{QStringLiteral("id"), id},
                                 {QStringLiteral("name"), card->name},
                                 {QStringLiteral("description"), card->description},
                                 {QStringLiteral("gicon"), QString::fromLatin1(kIconName)}});
    }
    return metas;
}

void ShellSearchProvider::ActivateResult(const QString& id, const QStringList& /*terms*/,
                                         uint /*timestamp*/) {
    search_.open(id);
}

void ShellSearchProvider::LaunchSearch(const QStringList& terms, uint /*timestamp*/) {
    search_.openFind(terms);
}

}  // namespace bp
