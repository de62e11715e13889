#include "alarm/MissedAlarm.h"

#include "store/NotesDatabase.h"

#include <string>

namespace bp {

std::optional<std::uint32_t> storedMissedAlarm(CNotesDatabase& db, std::int32_t nid) {
    const std::optional<std::string> text = db.GetNoteExtra(nid, kMissedAlarmAttribute);
    if (!text) {
        return std::nullopt;
    }
    return CNotesDatabase::ParseUInt(*text);
}

void storeMissedAlarm(CNotesDatabase& db, std::int32_t nid, std::optional<std::uint32_t> due) {
    // Written as every stored time is: a 32-bit number.
    db.SetNoteExtra(
        nid, kMissedAlarmAttribute,
        due ? std::optional<std::string>(std::to_string(static_cast<std::int32_t>(*due)))
            : std::nullopt);
}

std::string withMissedMark(const std::string& alarmCell, bool missed) {
    if (!missed) {
        return alarmCell;
    }
    return alarmCell.empty() ? "(missed)" : "(missed) " + alarmCell;
}

}  // namespace bp
