#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace bp {

class CNotesDatabase;
class IRichTextEngine;

// Where a note stands as scripts see it.
enum class ScriptedNoteState { Visible, Hidden, Collapsed, InBin };
// "visible", "hidden", "collapsed", "in-bin": the words scripts read and the command line prints.
std::string_view stateWord(ScriptedNoteState state);

struct NoteSummary {
    std::string id;
    std::int32_t nid = 0;
    std::string title;
    ScriptedNoteState state = ScriptedNoteState::Visible;
    // When its alarm rings next, in seconds since 1970 (UTC); none without an alarm.
    std::optional<std::uint32_t> alarmTime;
};

// What scripts, the command line and the desktop's search see of the notes: a stable id for
// each, a summary, its plain text, and the search of the Find window. It reads the store and
// writes nothing but the ids it is told to keep, so a copy of the program that is not running
// can list a database without changing it.
//
// A note's id is its stored "uid" attribute. A note that has none yet (every note of a
// database that no script has asked about) gets one worked out from its creation time, and
// its order among the notes made in the same second: no edit changes either, and unlike the
// note's number neither moves when the file is read again, so the same file gives the same
// ids whether the program runs or not. keepIds() stores them, so that they outlast even an
// erased twin.
class NoteDirectory {
public:
    // Without a rich-text engine, bodies read as they are stored.
    NoteDirectory(CNotesDatabase& store, IRichTextEngine* richText);

    // Every note, the Recycle Bin's included, in the store's order.
    std::vector<NoteSummary> list();
    std::optional<NoteSummary> summary(std::int32_t nid);
    std::string idOf(std::int32_t nid);
    // The ids of several notes, in their order, reading the notes once.
    std::vector<std::string> idsOf(const std::vector<std::int32_t>& nids);
    // The note of an id, or none.
    std::optional<std::int32_t> nidOf(std::string_view id);

    // The note an id or a title names: an id first, then a title as it stands, then a title in
    // any case. Several notes of that title name none, and say so.
    struct Lookup {
        std::optional<std::int32_t> nid;
        std::string problem;  // for the user when nid is empty
    };
    Lookup resolve(std::string_view idOrTitle);

    std::string title(std::int32_t nid);
    // The body as a reader sees it, paragraphs joined by "\n".
    std::string plainText(std::int32_t nid);
    // Changes whenever the stored body does.
    std::string bodyHash(std::int32_t nid);
    // The notes (outside the Recycle Bin) whose title or text shows the query, as the Find
    // window searches with its options as they start.
    std::vector<std::int32_t> find(const std::string& query);

    // Stores every id that is only worked out so far. True when any was stored: the database
    // changed and wants saving.
    bool keepIds();

private:
    std::vector<std::int32_t> allNids();
    // Every note's id, by nid.
    std::vector<std::pair<std::int32_t, std::string>> allIds();
    NoteSummary summarize(std::int32_t nid, std::string id);

    CNotesDatabase& store_;
    IRichTextEngine* richText_;
    // The notes of the ids last looked up, checked before use.
    std::map<std::string, std::int32_t> nidsById_;
};

}  // namespace bp
