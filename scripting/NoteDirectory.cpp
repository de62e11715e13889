#include "NoteDirectory.h"

#include "manage/FindOptions.h"
#include "richtext/RichTextEngine.h"
#include "store/NoteAttributes.h"
#include "store/NoteIds.h"
#include "store/NotesDatabase.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <utility>

namespace bp {

namespace {

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string withNewlines(std::string text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

std::string_view stateWord(ScriptedNoteState state) {
    switch (state) {
        case ScriptedNoteState::Visible:
            return "visible";
        case ScriptedNoteState::Hidden:
            return "hidden";
        case ScriptedNoteState::Collapsed:
            return "collapsed";
        case ScriptedNoteState::InBin:
            return "in-bin";
    }
    return "visible";
}

NoteDirectory::NoteDirectory(CNotesDatabase& store, IRichTextEngine* richText)
    : store_(store), richText_(richText) {}

IdList NoteDirectory::allNids() {
    IdList nids = store_.ListNotes(kLiveSource);
    if (const std::optional<IdList> inBin = store_.ListDeletedNotes()) {
        nids.insert(nids.end(), inBin->begin(), inBin->end());
    }
    return nids;
}

std::vector<NoteSummary> NoteDirectory::list() {
    std::vector<NoteSummary> summaries;
    for (auto& [nid, id] : allIds()) {
        summaries.push_back(summarize(nid, std::move(id)));
    }
    return summaries;
}

std::vector<std::pair<std::int32_t, std::string>> NoteDirectory::allIds() {
    std::vector<std::pair<std::int32_t, std::string>> ids = workedOutNoteIds(store_, allNids());
    for (auto& [nid, id] : ids) {
        if (std::optional<std::string> stored = store_.GetNoteExtra(nid, kStableIdAttribute);
            stored && !stored->empty()) {
            id = std::move(*stored);
        }
    }
    return ids;
}

std::optional<NoteSummary> NoteDirectory::summary(std::int32_t nid) {
    // The store reports a read of a note that is not there to the user.
    const IdList nids = allNids();
    if (std::find(nids.begin(), nids.end(), nid) == nids.end()) {
        return std::nullopt;
    }
    return summarize(nid, idOf(nid));
}

NoteSummary NoteDirectory::summarize(std::int32_t nid, std::string id) {
    NoteSummary summary;
    summary.nid = nid;
    summary.id = std::move(id);
    summary.title = title(nid);
    if (store_.GetNote(kLiveSource, nid, note::isDeleted) != 0) {
        summary.state = ScriptedNoteState::InBin;
    } else if (store_.GetNote(kLiveSource, nid, note::isClosed) != 0) {
        summary.state = ScriptedNoteState::Hidden;
    } else if (store_.GetNote(kLiveSource, nid, note::isBody) == 0) {
        summary.state = ScriptedNoteState::Collapsed;
    }
    if (store_.GetNote(kLiveSource, nid, note::isReminder) != 0) {
        summary.alarmTime = store_.GetNote(kLiveSource, nid, note::remindTime);
    }
    return summary;
}

std::string NoteDirectory::idOf(std::int32_t nid) {
    if (std::optional<std::string> stored = store_.GetNoteExtra(nid, kStableIdAttribute);
        stored && !stored->empty()) {
        return std::move(*stored);
    }
    for (auto& [each, id] : allIds()) {
        if (each == nid) {
            return std::move(id);
        }
    }
    return {};
}

std::vector<std::string> NoteDirectory::idsOf(const std::vector<std::int32_t>& nids) {
    std::map<std::int32_t, std::string> idOfNid;
    for (auto& [nid, id] : allIds()) {
        idOfNid.emplace(nid, std::move(id));
    }
    std::vector<std::string> ids;
    ids.reserve(nids.size());
    for (const std::int32_t nid : nids) {
        ids.push_back(idOfNid[nid]);
    }
    return ids;
}

std::optional<std::int32_t> NoteDirectory::nidOf(std::string_view id) {
    if (id.empty()) {
        return std::nullopt;
    }
    // Once stored, an id is checked against its note alone: the desktop's search looks up
    // every note it shows, and reading all notes for each would cost the time it has.
    const auto known = nidsById_.find(std::string(id));
    if (known != nidsById_.end() && store_.GetNoteExtra(known->second, kStableIdAttribute) == id) {
        return known->second;
    }
    nidsById_.clear();
    for (auto& [nid, each] : allIds()) {
        nidsById_.emplace(std::move(each), nid);
    }
    const auto found = nidsById_.find(std::string(id));
    return found != nidsById_.end() ? std::optional(found->second) : std::nullopt;
}

NoteDirectory::Lookup NoteDirectory::resolve(std::string_view idOrTitle) {
    if (idOrTitle.empty()) {
        return {std::nullopt, "No note has an empty name."};
    }
    const std::vector<NoteSummary> notes = list();
    for (const NoteSummary& note : notes) {
        if (note.id == idOrTitle) {
            return {note.nid, {}};
        }
    }
    for (const bool exact : {true, false}) {
        std::vector<const NoteSummary*> named;
        for (const NoteSummary& note : notes) {
            if (exact ? note.title == idOrTitle : equalIgnoringCase(note.title, idOrTitle)) {
                named.push_back(&note);
            }
        }
        if (named.size() == 1) {
            return {named.front()->nid, {}};
        }
        if (named.size() > 1) {
            return {std::nullopt, std::to_string(named.size()) + " notes are titled \"" +
                                      std::string(idOrTitle) + "\"; name one by its id."};
        }
    }
    return {std::nullopt, "No note has the id or title \"" + std::string(idOrTitle) + "\"."};
}

std::string NoteDirectory::title(std::int32_t nid) {
    return store_.GetNote(kLiveSource, nid, note::title);
}

std::string NoteDirectory::plainText(std::int32_t nid) {
    std::string body;
    if (!store_.GetNoteBody(kLiveSource, nid, body)) {
        return {};
    }
    return withNewlines(richText_ != nullptr ? richText_->plainText(body) : body);
}

std::string NoteDirectory::bodyHash(std::int32_t nid) {
    std::string body;
    store_.GetNoteBody(kLiveSource, nid, body);
    return stableHashHex(body);
}

std::vector<std::int32_t> NoteDirectory::find(const std::string& query) {
    if (query.empty()) {
        return {};
    }
    return store_.SearchNotes(-1, FindOptions{}.words(), query).value_or(IdList{});
}

bool NoteDirectory::keepIds() {
    // Asked before every answer that hands out ids, so it reads no more than the ids.
    bool stored = false;
    for (const auto& [nid, id] : allIds()) {
        const std::optional<std::string> kept = store_.GetNoteExtra(nid, kStableIdAttribute);
        if (!kept || kept->empty()) {
            stored = store_.SetNoteExtra(nid, kStableIdAttribute, id) || stored;
        }
    }
    return stored;
}

}  // namespace bp
