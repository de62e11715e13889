#pragma once

#include "store/NoteAttributes.h"

#include <cstdint>
#include <optional>

namespace bp {

class CNotesDatabase;

// A snooze outlives the program: its end is kept in the note's record, so that the alarm
// rings then after a restart as well, or at once when that moment passed meanwhile. Only a
// note whose snooze is pending carries the attribute.
inline constexpr const char* kSnoozeEndAttribute = note::snoozeEnd;

// The end of the note's pending snooze, in stored seconds; none when it is not snoozed.
std::optional<std::uint32_t> storedSnoozeEnd(CNotesDatabase& db, std::int32_t nid);
void storeSnoozeEnd(CNotesDatabase& db, std::int32_t nid, std::optional<std::uint32_t> end);

// When the note's alarm rings next, in stored seconds: the end of a pending snooze, else the
// alarm's time while it is on; none when nothing will ring.
std::optional<std::uint32_t> nextRinging(CNotesDatabase& db, std::int32_t nid);

}  // namespace bp
