#pragma once

#include "NoteScripting.h"

namespace bp {

// The notes as a database file holds them, for a script while no copy of the program runs:
// everything that reads is answered from the file, and everything that would change a note
// is refused, as only the running copy may change the notes.
class StoredNoteScripting : public INoteScripting {
public:
    explicit StoredNoteScripting(NoteDirectory& directory) : directory_(directory) {}

    ScriptResult<std::string> newNote(const std::string& title, const std::string& text) override;
    std::vector<NoteSummary> listNotes() override;
    ScriptResult<NoteSummary> summary(std::string_view id) override;
    ScriptResult<ScriptedNoteText> noteText(std::string_view id) override;
    ScriptResult<std::string> resolve(std::string_view idOrTitle) override;
    std::optional<ScriptError> command(NoteCommand command, std::string_view id) override;
    std::optional<ScriptError> showAll() override;
    std::optional<ScriptError> hideAll() override;
    std::vector<std::string> find(const std::string& query) override;
    std::optional<ScriptError> openNotesManager() override;
    std::optional<ScriptError> openFind(const std::string& terms) override;
    void setListener(INoteScriptingListener*) override {}

private:
    NoteDirectory& directory_;
};

}  // namespace bp
