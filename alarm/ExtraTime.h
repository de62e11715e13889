#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace bp {

class CNotesDatabase;

// A moment the alarm keeps in a note attribute of its own, present only while it means
// something, so that notes without it read and write as before.
std::optional<std::uint32_t> storedExtraTime(CNotesDatabase& db, std::int32_t nid,
                                             std::string_view attribute);
// Sets the moment, or removes the attribute with none.
void storeExtraTime(CNotesDatabase& db, std::int32_t nid, std::string_view attribute,
                    std::optional<std::uint32_t> moment);

}  // namespace bp
