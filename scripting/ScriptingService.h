#pragma once

#include "NoteDirectory.h"
#include "NoteScripting.h"
#include "ScriptedWindows.h"

#include <cstdint>
#include <map>
#include <string>

namespace bp {

// The running copy's answers to scripts: checks every request before anything changes (so a
// refused one changes nothing), finds notes through the directory, and hands the windows'
// work to them. It also tells its listener what changed among the notes, by comparing what
// the store holds with what it held when last asked.
class ScriptingService : public INoteScripting {
public:
    // Longest text a note takes, in characters.
    static constexpr std::size_t kMaxTextCharacters = 1048576;

    ScriptingService(NoteDirectory& directory, IScriptedWindows& windows);

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
    void setListener(INoteScriptingListener* listener) override;

    // Compares the notes with the last look and tells the listener what was added, changed
    // or removed. Cheap enough to call after every change the program makes.
    void notesMayHaveChanged();

private:
    struct Look {
        std::string title;
        ScriptedNoteState state;
        std::optional<std::uint32_t> alarmTime;
        std::string bodyHash;
    };
    std::map<std::string, Look> lookAtNotes();
    std::optional<ScriptError> refusedNow() const;
    // The note of an id that a window can act on, or why not.
    ScriptResult<std::int32_t> windowNote(std::string_view id);
    void keepIds();

    NoteDirectory& directory_;
    IScriptedWindows& windows_;
    INoteScriptingListener* listener_ = nullptr;
    std::map<std::string, Look> lastLook_;
};

}  // namespace bp
