#pragma once

#include "store/NoteAttributes.h"

#include <cstdint>
#include <optional>
#include <string>

namespace bp {

class CNotesDatabase;

// An alarm that stopped by itself because nobody answered it leaves a mark on its note until
// the user opens the note, also across a restart. The mark holds when the alarm was due. Only
// a note that carries a mark has the attribute, so a database without missed alarms reads and
// writes as before.
inline constexpr const char* kMissedAlarmAttribute = note::missedAlarm;

// When the missed alarm was due, in stored seconds; none when the note has no mark.
std::optional<std::uint32_t> storedMissedAlarm(CNotesDatabase& db, std::int32_t nid);
// Sets the mark, or removes it with none.
void storeMissedAlarm(CNotesDatabase& db, std::int32_t nid, std::optional<std::uint32_t> due);

// A list's alarm cell with the mark in front of the next ringing, when the note has one.
std::string withMissedMark(const std::string& alarmCell, bool missed);

}  // namespace bp
