#pragma once

#include "store/NoteIds.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bp {
class CNotesDatabase;
}

namespace bp::sync {

// A note as sync sees it: its fields by their sync keys, and its body as stored. Attributes
// that change together travel as one field, so that one device's whole answer wins: the
// window's place and size (under a key of the screen arrangement, so only machines with the
// same screens share it), the alarm's state with its snooze and missed marks, and the alarm's
// actions with what they open.
struct LocalNote {
    std::int32_t nid = 0;
    std::map<std::string, std::string> fields;
    std::string body;
};

// The extra attribute that holds a note's sync id.
inline constexpr const char* kUidAttribute = kStableIdAttribute;
// The extra attribute that holds alarm actions from another device until the user confirms
// them on this one.
inline constexpr const char* kHeldActionAttribute = "syncHeldAction";
inline constexpr const char* kPlaceField = "place@";
inline constexpr const char* kActionField = "alarmAction";

class NoteFields {
public:
    NoteFields(CNotesDatabase& store, std::string screen);

    const std::string& placeKey() const { return placeKey_; }
    // Fields for another screen arrangement are kept but never written to this database.
    bool isForeignPlace(std::string_view key) const;

    LocalNote read(std::int32_t nid);
    // False when the value could not be written (a malformed group from another device).
    bool write(std::int32_t nid, const std::string& key, const std::string& value);

    // Every live and Recycle Bin note.
    std::vector<std::int32_t> allNids();

    // An alarm action that starts a program, opens an address or shuts the machine down,
    // switched off; the value as it is when it has none.
    static std::string withoutProgramActions(const std::string& actionValue);

private:
    CNotesDatabase& store_;
    std::string placeKey_;
};

// Groups of values as one text: each value as "<length>:<bytes>", or "-" when absent.
std::string encodeValues(const std::vector<std::optional<std::string>>& values);
std::optional<std::vector<std::optional<std::string>>> decodeValues(std::string_view text,
                                                                    std::size_t count);

}  // namespace bp::sync
