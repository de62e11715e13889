#pragma once

// A note's stable id, the one name of it that no renumbering, edit or other machine changes.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace bp {

class CNotesDatabase;

// The extra attribute a note keeps its id in once the id has been handed out.
inline constexpr const char* kStableIdAttribute = "uid";

// 16 hex digits of the 64-bit FNV-1a hash: the same on every machine and build, unlike
// std::hash, so ids and checksums made here match those made anywhere else.
std::string stableHashHex(std::string_view bytes);

// The id of each note that has none stored yet: worked out from its creation time and its order
// among the notes made in the same second (duplicates, imports, the sample notes), which no edit
// changes and reading the file again does not renumber. By nid, in nid order.
std::vector<std::pair<std::int32_t, std::string>> workedOutNoteIds(CNotesDatabase& store,
                                                                   std::vector<std::int32_t> nids);

}  // namespace bp
