#pragma once

#include "NoteScripting.h"

namespace bp {

// What a script reads of the notes, answered from the directory alike whether the program
// runs or only its database file is there. The running copy stores the ids it hands out;
// a reader of the file alone must not change it.
class NoteReadingScripting : public INoteScripting {
public:
    explicit NoteReadingScripting(NoteDirectory& directory) : directory_(directory) {}

    std::vector<NoteSummary> listNotes() override;
    ScriptResult<NoteSummary> summary(std::string_view id) override;
    ScriptResult<ScriptedNoteText> noteText(std::string_view id) override;
    ScriptResult<std::string> resolve(std::string_view idOrTitle) override;
    std::vector<std::string> find(const std::string& query) override;

protected:
    static ScriptError unknownNote(std::string_view id);
    // Ids are about to be handed out.
    virtual void handingOutIds() {}

    NoteDirectory& directory_;
};

}  // namespace bp
