#include "alarm/SnoozeRecord.h"

#include "alarm/ExtraTime.h"
#include "store/NoteAttributes.h"
#include "store/NotesDatabase.h"

#include <string>

namespace bp {

std::optional<std::uint32_t> storedSnoozeEnd(CNotesDatabase& db, std::int32_t nid) {
    return storedExtraTime(db, nid, kSnoozeEndAttribute);
}

void storeSnoozeEnd(CNotesDatabase& db, std::int32_t nid, std::optional<std::uint32_t> end) {
    storeExtraTime(db, nid, kSnoozeEndAttribute, end);
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
