#include "alarm/ExtraTime.h"

#include "store/NotesDatabase.h"

#include <string>

namespace bp {

std::optional<std::uint32_t> storedExtraTime(CNotesDatabase& db, std::int32_t nid,
                                             std::string_view attribute) {
    const std::optional<std::string> text = db.GetNoteExtra(nid, attribute);
    if (!text) {
        return std::nullopt;
    }
    return CNotesDatabase::ParseUInt(*text);
}

void storeExtraTime(CNotesDatabase& db, std::int32_t nid, std::string_view attribute,
                    std::optional<std::uint32_t> moment) {
    // Written as every stored time is: a 32-bit number.
    db.SetNoteExtra(
        nid, attribute,
        moment ? std::optional<std::string>(std::to_string(static_cast<std::int32_t>(*moment)))
               : std::nullopt);
}

}  // namespace bp
