#include "DesktopNoteSearch.h"

#include "qtsupport/NoteName.h"
#include "scripting/NoteScripting.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace bp {

namespace {

QStringList nonBlank(const QStringList& terms) {
    QStringList kept;
    for (const QString& term : terms) {
        const QString trimmed = term.trimmed();
        if (!trimmed.isEmpty()) {
            kept.append(trimmed);
        }
    }
    return kept;
}

QStringList idsOf(const std::vector<std::string>& ids) {
    QStringList out;
    out.reserve(static_cast<qsizetype>(ids.size()));
    for (const std::string& id : ids) {
        out.append(QString::fromStdString(id));
    }
    return out;
}

bool showsEvery(const QString& title, const QStringList& terms) {
    return std::all_of(terms.begin(), terms.end(), [&](const QString& term) {
        return title.contains(term, Qt::CaseInsensitive);
    });
}

}  // namespace

std::vector<NoteSearchHit> DesktopNoteSearch::search(const QStringList& terms) {
    const QStringList wanted = nonBlank(terms);
    if (wanted.isEmpty()) {
        return {};
    }
    // Each term is searched as Find searches it; a note must show them all, wherever they are.
    QStringList found = idsOf(notes_.find(wanted.front().toStdString()));
    for (qsizetype i = 1; i < wanted.size() && !found.isEmpty(); ++i) {
        const QStringList also = idsOf(notes_.find(wanted[i].toStdString()));
        const QSet<QString> alsoSet(also.begin(), also.end());
        found.removeIf([&](const QString& id) { return !alsoSet.contains(id); });
    }
    if (found.isEmpty()) {
        return {};
    }

    // One listing names every note found: cheaper than a look-up by id for each.
    QHash<QString, QString> names;
    for (const NoteSummary& note : notes_.listNotes()) {
        names.insert(QString::fromStdString(note.id),
                     readableNoteName(QString::fromStdString(note.title), note.nid));
    }
    const QString query = wanted.join(u' ');
    std::vector<NoteSearchHit> hits;
    hits.reserve(static_cast<std::size_t>(found.size()));
    for (const QString& id : found) {
        const QString name = names.value(id);
        hits.push_back(
            {id, name, showsEvery(name, wanted), name.compare(query, Qt::CaseInsensitive) == 0});
    }
    std::stable_sort(hits.begin(), hits.end(), [](const NoteSearchHit& a, const NoteSearchHit& b) {
        return a.inTitle && !b.inTitle;
    });
    return hits;
}

QStringList DesktopNoteSearch::narrow(const QStringList& previous, const QStringList& terms) {
    const QSet<QString> before(previous.begin(), previous.end());
    QStringList kept;
    for (const NoteSearchHit& hit : search(terms)) {
        if (before.contains(hit.id)) {
            kept.append(hit.id);
        }
    }
    return kept;
}

std::optional<NoteCard> DesktopNoteSearch::card(const QString& id) {
    const std::string key = id.toStdString();
    const ScriptResult<NoteSummary> summary = notes_.summary(key);
    const ScriptResult<ScriptedNoteText> text = notes_.noteText(key);
    if (!summary.ok() || !text.ok()) {
        return std::nullopt;
    }
    return NoteCard{readableNoteName(QString::fromStdString(text.value->title), summary.value->nid),
                    firstLine(QString::fromStdString(text.value->text))};
}

std::optional<NoteCard> DesktopNoteSearch::card(const NoteSearchHit& hit) {
    const ScriptResult<ScriptedNoteText> text = notes_.noteText(hit.id.toStdString());
    if (!text.ok()) {
        return std::nullopt;
    }
    return NoteCard{hit.name, firstLine(QString::fromStdString(text.value->text))};
}

bool DesktopNoteSearch::open(const QString& id) {
    const std::string key = id.toStdString();
    // Shown first, so that a hidden or collapsed note is on screen to be brought forward.
    return !notes_.command(NoteCommand::Show, key) && !notes_.command(NoteCommand::Raise, key);
}

void DesktopNoteSearch::openFind(const QStringList& terms) {
    notes_.openFind(nonBlank(terms).join(u' ').toStdString());
}

QString DesktopNoteSearch::firstLine(const QString& text, qsizetype limit) {
    QString line;
    for (const QString& candidate : text.split(u'\n')) {
        line = candidate.simplified();
        if (!line.isEmpty()) {
            break;
        }
    }
    if (line.size() <= limit) {
        return line;
    }
    const QChar ellipsis(0x2026);
    qsizetype cut = limit - 1;
    // Never between the halves of a character outside the basic plane.
    if (line[cut].isLowSurrogate()) {
        --cut;
    }
    // At the last blank when that keeps most of the line, so no word is cut in two.
    const qsizetype blank = line.lastIndexOf(u' ', cut);
    if (blank > limit / 2) {
        cut = blank;
    }
    return line.left(cut).trimmed() + ellipsis;
}

}  // namespace bp
