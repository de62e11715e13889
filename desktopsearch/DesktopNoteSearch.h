#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace bp {

class INoteScripting;

// A note as the desktop's search lists it.
struct NoteSearchHit {
    QString id;
    QString name;  // the title, or "Note" and its number
    // Every term shows in the title; such notes come first.
    bool inTitle = false;
    // The title is the query itself, whatever its case.
    bool titleIsQuery = false;
};

// What a launcher's result row shows of a note.
struct NoteCard {
    QString name;
    QString description;  // its first line with text, shortened
};

// What the desktop's search (a shell's search provider, a launcher's runner) asks of the
// notes, over the running copy's scripting: the notes that show every term, their names and
// first lines, and the note or the Find window opened for the user.
class DesktopNoteSearch {
public:
    explicit DesktopNoteSearch(INoteScripting& notes) : notes_(notes) {}

    // The notes outside the Recycle Bin that show each of the terms (as Find finds them),
    // those whose title shows them all first, otherwise in the notes' order. Blank terms are
    // no terms; with none, nothing is found.
    std::vector<NoteSearchHit> search(const QStringList& terms);
    // The ids of search(terms) among an earlier answer, in the order of search(terms).
    QStringList narrow(const QStringList& previous, const QStringList& terms);
    // None for an id that names no note (any more).
    std::optional<NoteCard> card(const QString& id);
    // The same for a note just found, which has its name already.
    std::optional<NoteCard> card(const NoteSearchHit& hit);
    // Shows the note and brings it to the front; false when there is no such note.
    bool open(const QString& id);
    // The Find window with the terms in its box.
    void openFind(const QStringList& terms);

    // The first line of a note's text that has something to read, blanks collapsed, cut at a
    // word near `limit` characters with an ellipsis when longer.
    static QString firstLine(const QString& text, qsizetype limit = 80);

private:
    INoteScripting& notes_;
};

}  // namespace bp
