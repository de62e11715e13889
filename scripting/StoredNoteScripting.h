#pragma once

#include "NoteReadingScripting.h"

namespace bp {

// The notes as a database file holds them, for a script while no copy of the program runs:
// everything that reads is answered from the file, and everything that would change a note
// is refused, as only the running copy may change the notes.
class StoredNoteScripting : public NoteReadingScripting {
public:
    explicit StoredNoteScripting(NoteDirectory& directory) : NoteReadingScripting(directory) {}

    ScriptResult<std::string> newNote(const std::string& title, const std::string& text) override;
    std::optional<ScriptError> command(NoteCommand command, std::string_view id) override;
    std::optional<ScriptError> showAll() override;
    std::optional<ScriptError> hideAll() override;
    std::optional<ScriptError> openNotesManager() override;
    std::optional<ScriptError> openFind(const std::string& terms) override;
    void setListener(INoteScriptingListener*) override {}
};

}  // namespace bp
