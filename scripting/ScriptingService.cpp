#include "ScriptingService.h"

#include <QString>

#include <algorithm>

namespace bp {

namespace {

bool looksLikeRtf(const std::string& text) {
    return text.starts_with("{\\rtf");
}

bool blank(const std::string& text) {
    return std::all_of(text.begin(), text.end(),
                       [](unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); });
}

}  // namespace

ScriptingService::ScriptingService(NoteDirectory& directory, IScriptedWindows& windows)
    : NoteReadingScripting(directory), windows_(windows) {}

std::optional<ScriptError> ScriptingService::refusedNow() const {
    if (windows_.takesScripts()) {
        return std::nullopt;
    }
    return ScriptError{ScriptError::Kind::NotNow,
                       "Brightpost is busy (starting, ending or showing a dialog); try again."};
}

void ScriptingService::handingOutIds() {
    if (directory_.keepIds()) {
        windows_.idsStored();
    }
}

ScriptResult<std::string> ScriptingService::newNote(const std::string& title,
                                                    const std::string& text) {
    if (blank(title)) {
        return {std::nullopt, {ScriptError::Kind::BadArgument, "A note needs a title."}};
    }
    // Characters as the note's editor counts them, so that what is refused here is exactly
    // what the note could not hold.
    const bool rich = looksLikeRtf(text);
    if (!rich && static_cast<std::size_t>(QString::fromUtf8(text).size()) > kMaxTextCharacters) {
        return {std::nullopt,
                {ScriptError::Kind::BadArgument, "The text is longer than a note takes (" +
                                                     std::to_string(kMaxTextCharacters) +
                                                     " characters)."}};
    }
    if (std::optional<ScriptError> refused = refusedNow()) {
        return {std::nullopt, *refused};
    }
    const std::optional<std::int32_t> nid = windows_.createNote(title, text, rich);
    if (!nid) {
        return {std::nullopt,
                {ScriptError::Kind::NotNow, "You have reached the maximum number of notes."}};
    }
    std::string id = directory_.idOf(*nid);
    handingOutIds();
    notesMayHaveChanged();
    return {std::move(id), {}};
}

ScriptResult<std::int32_t> ScriptingService::windowNote(std::string_view id) {
    const std::optional<std::int32_t> nid = directory_.nidOf(id);
    if (!nid) {
        return {std::nullopt, unknownNote(id)};
    }
    const std::optional<NoteSummary> note = directory_.summary(*nid);
    if (note && note->state == ScriptedNoteState::InBin) {
        return {std::nullopt,
                {ScriptError::Kind::BadArgument,
                 "The note \"" + note->title + "\" is in the Recycle Bin; restore it first."}};
    }
    if (std::optional<ScriptError> refused = refusedNow()) {
        return {std::nullopt, *refused};
    }
    return {nid, {}};
}

std::optional<ScriptError> ScriptingService::command(NoteCommand command, std::string_view id) {
    const ScriptResult<std::int32_t> nid = windowNote(id);
    if (!nid.ok()) {
        return nid.error;
    }
    switch (command) {
        case NoteCommand::Show:
            windows_.showNote(*nid.value);
            break;
        case NoteCommand::Hide:
            windows_.hideNote(*nid.value);
            break;
        case NoteCommand::Toggle:
            if (directory_.summary(*nid.value)->state == ScriptedNoteState::Hidden) {
                windows_.showNote(*nid.value);
            } else {
                windows_.hideNote(*nid.value);
            }
            break;
        case NoteCommand::Raise:
            windows_.raiseNote(*nid.value);
            break;
        case NoteCommand::MoveToBin:
            windows_.moveNoteToBin(*nid.value);
            break;
        case NoteCommand::OpenAlarm:
            windows_.openAlarmDialog(*nid.value);
            break;
    }
    notesMayHaveChanged();
    return std::nullopt;
}

std::optional<ScriptError> ScriptingService::showAll() {
    if (std::optional<ScriptError> refused = refusedNow()) {
        return refused;
    }
    windows_.showAllNotes();
    notesMayHaveChanged();
    return std::nullopt;
}

std::optional<ScriptError> ScriptingService::hideAll() {
    if (std::optional<ScriptError> refused = refusedNow()) {
        return refused;
    }
    windows_.hideAllNotes();
    notesMayHaveChanged();
    return std::nullopt;
}

std::optional<ScriptError> ScriptingService::openNotesManager() {
    if (std::optional<ScriptError> refused = refusedNow()) {
        return refused;
    }
    windows_.openNotesManager();
    return std::nullopt;
}

std::optional<ScriptError> ScriptingService::openFind(const std::string& terms) {
    if (std::optional<ScriptError> refused = refusedNow()) {
        return refused;
    }
    windows_.openFind(terms);
    return std::nullopt;
}

void ScriptingService::setListener(INoteScriptingListener* listener) {
    listener_ = listener;
    lastLook_ = listener_ != nullptr ? lookAtNotes() : std::map<std::string, Look>{};
}

std::map<std::string, ScriptingService::Look> ScriptingService::lookAtNotes() {
    std::map<std::string, Look> look;
    for (NoteSummary& note : directory_.list()) {
        look.emplace(std::move(note.id), Look{std::move(note.title), note.state, note.alarmTime,
                                              directory_.bodyHash(note.nid)});
    }
    return look;
}

void ScriptingService::notesMayHaveChanged() {
    if (listener_ == nullptr) {
        return;
    }
    std::map<std::string, Look> now = lookAtNotes();
    for (const auto& [id, look] : lastLook_) {
        if (!now.contains(id)) {
            listener_->noteRemoved(id);
        }
    }
    for (const auto& [id, look] : now) {
        const auto before = lastLook_.find(id);
        if (before == lastLook_.end()) {
            listener_->noteAdded(id);
        } else if (before->second.title != look.title || before->second.state != look.state ||
                   before->second.alarmTime != look.alarmTime ||
                   before->second.bodyHash != look.bodyHash) {
            listener_->noteChanged(id);
        }
    }
    lastLook_ = std::move(now);
}

}  // namespace bp
