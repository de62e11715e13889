#pragma once

#include "NoteDirectory.h"
#include "NoteReadingScripting.h"
#include "ScriptedWindows.h"

#include <cstdint>
#include <map>
#include <string>

namespace bp {

// The running copy's answers to scripts: checks every request before anything changes (so a
// refused one changes nothing), finds notes through the directory, and hands the windows'
// work to them. It also tells its listener what changed among the notes, by comparing what
// the store holds with what it held when last asked.
class ScriptingService : public NoteReadingScripting {
public:
    // Longest text a note takes, in characters.
    static constexpr std::size_t kMaxTextCharacters = 1048576;

    ScriptingService(NoteDirectory& directory, IScriptedWindows& windows);

    ScriptResult<std::string> newNote(const std::string& title, const std::string& text) override;
    std::optional<ScriptError> command(NoteCommand command, std::string_view id) override;
    std::optional<ScriptError> showAll() override;
    std::optional<ScriptError> hideAll() override;
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
    void handingOutIds() override;

    IScriptedWindows& windows_;
    INoteScriptingListener* listener_ = nullptr;
    std::map<std::string, Look> lastLook_;
};

}  // namespace bp
