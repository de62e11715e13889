#include "NoteIds.h"

#include "NoteAttributes.h"
#include "NotesDatabase.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace bp {

std::string stableHashHex(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const unsigned char c : bytes) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

std::vector<std::pair<std::int32_t, std::string>> workedOutNoteIds(CNotesDatabase& store,
                                                                   std::vector<std::int32_t> nids) {
    std::sort(nids.begin(), nids.end());
    std::map<std::uint32_t, int> madeInTheSameSecond;
    std::vector<std::pair<std::int32_t, std::string>> ids;
    ids.reserve(nids.size());
    for (const std::int32_t nid : nids) {
        const std::uint32_t created = store.GetNote(kLiveSource, nid, note::time);
        const int order = madeInTheSameSecond[created]++;
        ids.emplace_back(nid, stableHashHex(std::to_string(created) + ':' + std::to_string(order)));
    }
    return ids;
}

}  // namespace bp
