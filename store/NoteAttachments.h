#pragma once

#include "StoreData.h"
#include "StoreTypes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace bp {

// The attachment records of a note: files and web addresses kept inside its element.
// Filters: 5 all, 4 types 0 and 3, 99 types 1 and 6, n type n.
class NoteAttachments {
public:
    explicit NoteAttachments(StoreData& data) : data_(data) {}

    // The new record's id, or -1 when the note already has that name (in any case) and type.
    std::int32_t attach(std::int32_t nid, int type, const std::string& name);
    bool detach(std::int32_t nid, std::int32_t fid);
    std::optional<IdList> list(int source, std::int32_t nid, int filter);
    bool filename(int source, std::int32_t nid, std::int32_t fid, std::string& out);
    int filetype(int source, std::int32_t nid, std::int32_t fid);

private:
    bool read(int source, std::int32_t nid, std::int32_t fid, std::string_view attr,
              const char* operation, std::string& value);

    StoreData& data_;
};

}  // namespace bp
