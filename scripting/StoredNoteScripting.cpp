#include "StoredNoteScripting.h"

namespace bp {

namespace {

ScriptError notRunning() {
    return {ScriptError::Kind::NotNow, "Brightpost is not running."};
}

ScriptError unknownNote(std::string_view id) {
    return {ScriptError::Kind::UnknownNote, "There is no note \"" + std::string(id) + "\"."};
}

}  // namespace

ScriptResult<std::string> StoredNoteScripting::newNote(const std::string&, const std::string&) {
    return {std::nullopt, notRunning()};
}

std::vector<NoteSummary> StoredNoteScripting::listNotes() {
    return directory_.list();
}

ScriptResult<NoteSummary> StoredNoteScripting::summary(std::string_view id) {
    if (const std::optional<std::int32_t> nid = directory_.nidOf(id)) {
        if (std::optional<NoteSummary> found = directory_.summary(*nid)) {
            return {std::move(found), {}};
        }
    }
    return {std::nullopt, unknownNote(id)};
}

ScriptResult<ScriptedNoteText> StoredNoteScripting::noteText(std::string_view id) {
    const std::optional<std::int32_t> nid = directory_.nidOf(id);
    if (!nid) {
        return {std::nullopt, unknownNote(id)};
    }
    return {ScriptedNoteText{directory_.title(*nid), directory_.plainText(*nid)}, {}};
}

ScriptResult<std::string> StoredNoteScripting::resolve(std::string_view idOrTitle) {
    const NoteDirectory::Lookup found = directory_.resolve(idOrTitle);
    if (!found.nid) {
        return {std::nullopt, {ScriptError::Kind::UnknownNote, found.problem}};
    }
    return {directory_.idOf(*found.nid), {}};
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

std::vector<std::string> StoredNoteScripting::find(const std::string& query) {
    std::vector<std::string> ids;
    for (const std::int32_t nid : directory_.find(query)) {
        ids.push_back(directory_.idOf(nid));
    }
    return ids;
}

std::optional<ScriptError> StoredNoteScripting::openNotesManager() {
    return notRunning();
}

std::optional<ScriptError> StoredNoteScripting::openFind(const std::string&) {
    return notRunning();
}

}  // namespace bp
