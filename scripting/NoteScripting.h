#pragma once

#include "NoteDirectory.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bp {

// Why a script's request was refused; the message is for the user as it stands.
struct ScriptError {
    enum class Kind {
        UnknownNote,  // no note has that id (or title)
        BadArgument,  // an empty title, a text over the note size limit, an empty query
        NotNow,       // the program is starting, ending or runs a modal dialog
    };
    Kind kind = Kind::BadArgument;
    std::string message;
};

// A value, or why there is none.
template <typename T>
struct ScriptResult {
    std::optional<T> value;
    ScriptError error;
    bool ok() const { return value.has_value(); }
};

struct ScriptedNoteText {
    std::string title;
    std::string text;  // plain, paragraphs joined by "\n"
};

// What a note's window can be told by a script.
enum class NoteCommand { Show, Hide, Toggle, Raise, MoveToBin, OpenAlarm };

// Told of every note that is made, changed (title, text, state) or removed from the notes,
// by the note's id.
class INoteScriptingListener {
public:
    virtual ~INoteScriptingListener() = default;
    virtual void noteAdded(const std::string& id) = 0;
    virtual void noteChanged(const std::string& id) = 0;
    virtual void noteRemoved(const std::string& id) = 0;
};

// What the running copy does for scripts: the D-Bus interface, the command line's verbs and
// the desktop's search all come here. Every call runs on the GUI thread and returns once it is
// done (a dialog it opens is opened after it returns).
class INoteScripting {
public:
    virtual ~INoteScripting() = default;

    // A note with that title and text (rich when the text is RTF, plain otherwise), shown; its id.
    virtual ScriptResult<std::string> newNote(const std::string& title,
                                              const std::string& text) = 0;
    virtual std::vector<NoteSummary> listNotes() = 0;
    virtual ScriptResult<NoteSummary> summary(std::string_view id) = 0;
    virtual ScriptResult<ScriptedNoteText> noteText(std::string_view id) = 0;
    // The id of the note an id or a title names.
    virtual ScriptResult<std::string> resolve(std::string_view idOrTitle) = 0;
    // Empty when done.
    virtual std::optional<ScriptError> command(NoteCommand command, std::string_view id) = 0;
    virtual std::optional<ScriptError> showAll() = 0;
    virtual std::optional<ScriptError> hideAll() = 0;
    // The ids of the notes the Find window would find.
    virtual std::vector<std::string> find(const std::string& query) = 0;
    virtual std::optional<ScriptError> openNotesManager() = 0;
    // The Find window, with the terms in its box (and searched) when there are any.
    virtual std::optional<ScriptError> openFind(const std::string& terms) = 0;

    virtual void setListener(INoteScriptingListener* listener) = 0;
};

}  // namespace bp
