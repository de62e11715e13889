#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bp {

// One attachment record as the store lists it.
struct AttachRecord {
    std::int32_t fid = 0;
    int type = 0;
    std::string name;
};

// One row of the attach panel. A name held by records of different kinds shows once, with
// the display type kAttachMixed; the row keeps the fid of the first of them.
struct CAttachedFiles {
    std::int32_t fid = 0;
    int displayType = 0;
    std::string name;
    bool operator==(const CAttachedFiles&) const = default;
};

inline constexpr int kAttachFile = 0;
inline constexpr int kAttachAssociation = 1;
inline constexpr int kAttachMixed = 2;
inline constexpr int kAttachAddress = 3;
inline constexpr int kAttachWindow = 6;

// The rows for records in document order, sorted by display type, then by name in byte
// order. A file and an address of the same name are one row with the first record's type.
std::vector<CAttachedFiles> attachRows(const std::vector<AttachRecord>& records);

// What a row shows of its name: a file's or folder's own name without the folders above it
// (the whole path is in the row's tip); addresses and window titles as they are.
std::string shownAttachName(int displayType, const std::string& name);

// The row image of a display type: 1 files and addresses, 2 associations, 3 mixed rows.
int attachStateImage(int displayType);

// The question asked before a record of this type is removed.
std::string detachQuestion(int type, const std::string& name);

}  // namespace bp
