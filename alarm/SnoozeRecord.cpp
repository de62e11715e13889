#include "alarm/SnoozeRecord.h"

#include "store/NoteAttributes.h"
#include "store/NotesDatabase.h"

#include <string>

namespace bp {

std::optional<std::uint32_t> storedSnoozeEnd(CNotesDatabase& db, std::int32_t nid) {
    const std::optional<std::string> text = db.GetNoteExtra(nid, kSnoozeEndAttribute);
    if (!text) {
        return std::nullopt;
    }
    return CNotesDatabase::ParseUInt(*text);
}

void storeSnoozeEnd(CNotesDatabase& db, std::int32_t nid, std::optional<std::uint32_t> end) {
    // Written as every stored time is: a 32-bit number.
    db.SetNoteExtra(
        nid, kSnoozeEndAttribute,
        end ? std::optional<std::string>(std::to_string(static_cast<std::int32_t>(*end)))
            : std::nullopt);
}

std::optional<std::uint32_t> nextRinging(CNotesDatabase& db, std::int32_t nid) {
    if (const auto end = storedSnoozeEnd(db, nid)) {
        return end;
    }
    if (db.GetNote(kLiveSource, nid, note::isReminder) == 0) {
        return std::nullopt;
    }
    return db.GetNote(kLiveSource, nid, note::remindTime);
}

}  // namespace bp
