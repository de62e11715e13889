#include "alarm/MissedAlarm.h"

#include "alarm/ExtraTime.h"

#include <string>

namespace bp {

std::optional<std::uint32_t> storedMissedAlarm(CNotesDatabase& db, std::int32_t nid) {
    return storedExtraTime(db, nid, kMissedAlarmAttribute);
}

void storeMissedAlarm(CNotesDatabase& db, std::int32_t nid, std::optional<std::uint32_t> due) {
    storeExtraTime(db, nid, kMissedAlarmAttribute, due);
}

std::string withMissedMark(const std::string& alarmCell, bool missed) {
    if (!missed) {
        return alarmCell;
    }
    return alarmCell.empty() ? "(missed)" : "(missed) " + alarmCell;
}

}  // namespace bp
