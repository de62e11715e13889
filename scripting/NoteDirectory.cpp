#include "NoteDirectory.h"

#include "manage/FindOptions.h"
#include "richtext/RichTextEngine.h"
#include "store/NoteAttributes.h"
#include "store/NotesDatabase.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <utility>

namespace bp {

namespace {

// The attribute that keeps a note's id once it has been handed out.
constexpr const char* kStableId = "uid";

// FNV-1a: the same on every machine and build, unlike std::hash.
std::uint64_t fnv1a(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const unsigned char c : bytes) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

std::string hex16(std::uint64_t value) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

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
    IdList nids = allNids();
    std::sort(nids.begin(), nids.end());
    // Notes made in the same second (duplicates, imports, the sample notes) are told apart by
    // their order among themselves.
    std::map<std::uint32_t, int> madeInTheSameSecond;
    std::vector<std::pair<std::int32_t, std::string>> ids;
    ids.reserve(nids.size());
    for (const std::int32_t nid : nids) {
        const std::uint32_t created = store_.GetNote(kLiveSource, nid, note::time);
        const int order = madeInTheSameSecond[created]++;
        std::optional<std::string> stored = store_.GetNoteExtra(nid, kStableId);
        ids.emplace_back(
            nid, stored && !stored->empty() ? std::move(*stored) : workedOutId(created, order));
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
    if (std::optional<std::string> stored = store_.GetNoteExtra(nid, kStableId);
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

std::string NoteDirectory::workedOutId(std::uint32_t created, int order) {
    return hex16(fnv1a(std::to_string(created) + ':' + std::to_string(order)));
}

std::optional<std::int32_t> NoteDirectory::nidOf(std::string_view id) {
    if (id.empty()) {
        return std::nullopt;
    }
    // Once stored, an id is checked against its note alone: the desktop's search looks up
    // every note it shows, and reading all notes for each would cost the time it has.
    const auto known = nidsById_.find(std::string(id));
    if (known != nidsById_.end() && store_.GetNoteExtra(known->second, kStableId) == id) {
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

std::uint64_t NoteDirectory::bodyHash(std::int32_t nid) {
    std::string body;
    store_.GetNoteBody(kLiveSource, nid, body);
    return fnv1a(body);
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
        const std::optional<std::string> kept = store_.GetNoteExtra(nid, kStableId);
        if (!kept || kept->empty()) {
            stored = store_.SetNoteExtra(nid, kStableId, id) || stored;
        }
    }
    return stored;
}

}  // namespace bp
