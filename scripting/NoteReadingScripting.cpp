#include "NoteReadingScripting.h"

namespace bp {

ScriptError NoteReadingScripting::unknownNote(std::string_view id) {
    return {ScriptError::Kind::UnknownNote, "No note has the id \"" + std::string(id) + "\"."};
}

std::vector<NoteSummary> NoteReadingScripting::listNotes() {
    handingOutIds();
    return directory_.list();
}

ScriptResult<NoteSummary> NoteReadingScripting::summary(std::string_view id) {
    if (const std::optional<std::int32_t> nid = directory_.nidOf(id)) {
        if (std::optional<NoteSummary> found = directory_.summary(*nid)) {
            return {std::move(found), {}};
        }
    }
    return {std::nullopt, unknownNote(id)};
}

ScriptResult<ScriptedNoteText> NoteReadingScripting::noteText(std::string_view id) {
    const std::optional<std::int32_t> nid = directory_.nidOf(id);
    if (!nid) {
        return {std::nullopt, unknownNote(id)};
    }
    return {ScriptedNoteText{directory_.title(*nid), directory_.plainText(*nid)}, {}};
}

ScriptResult<std::string> NoteReadingScripting::resolve(std::string_view idOrTitle) {
    const NoteDirectory::Lookup found = directory_.resolve(idOrTitle);
    if (!found.nid) {
        return {std::nullopt, {ScriptError::Kind::UnknownNote, found.problem}};
    }
    std::string id = directory_.idOf(*found.nid);
    handingOutIds();
    return {std::move(id), {}};
}

std::vector<std::string> NoteReadingScripting::find(const std::string& query) {
    const std::vector<std::int32_t> found = directory_.find(query);
    if (found.empty()) {
        return {};
    }
    std::vector<std::string> ids = directory_.idsOf(found);
    handingOutIds();
    return ids;
}

}  // namespace bp
