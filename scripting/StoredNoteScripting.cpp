#include "StoredNoteScripting.h"

namespace bp {

namespace {

ScriptError notRunning() {
    return {ScriptError::Kind::NotNow, "Brightpost is not running."};
}

}  // namespace

ScriptResult<std::string> StoredNoteScripting::newNote(const std::string&, const std::string&) {
    return {std::nullopt, notRunning()};
}

std::optional<ScriptError> StoredNoteScripting::command(NoteCommand, std::string_view) {
    return notRunning();
}

std::optional<ScriptError> StoredNoteScripting::showAll() {
    return notRunning();
}

std::optional<ScriptError> StoredNoteScripting::hideAll() {
    return notRunning();
}

std::optional<ScriptError> StoredNoteScripting::openNotesManager() {
    return notRunning();
}

std::optional<ScriptError> StoredNoteScripting::openFind(const std::string&) {
    return notRunning();
}

}  // namespace bp
