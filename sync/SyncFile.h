#pragma once

#include "sync/Stamp.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace bp::sync {

// One fact a device tells the others.
//   Field: note uid's field key holds value since stamp.
//   Body:  version key of the note's body, made from the versions in parents, holds value.
//   Erase: the note was erased by someone who had seen, of each device, the records up to
//          that device's stamp in covers.
struct SyncRecord {
    enum class Kind { Field, Body, Erase };
    Kind kind = Kind::Field;
    std::string uid;
    std::string key;
    std::string value;
    std::vector<std::string> parents;
    Stamp stamp;
    std::vector<Stamp> covers;

    bool operator==(const SyncRecord&) const = default;
};

// What a reader accepts; anything beyond is refused as a whole file.
inline constexpr std::size_t kMaxFileBytes = 64u << 20;
inline constexpr std::size_t kMaxValueBytes = 4u << 20;
inline constexpr std::size_t kMaxNameBytes = 64;
inline constexpr std::size_t kMaxParents = 16;
inline constexpr std::size_t kMaxDevices = 64;
// Stamps from beyond 2100 come from a broken clock or a hostile file.
inline constexpr std::int64_t kLatestWall = 4102444800;

// A file of records: a header line with the magic, the format version and the writing device,
// one record per line (tab-separated, escaped), and a last line with the count of records and
// a checksum of everything before it, so a file cut short or altered is refused whole.
std::string encodeSyncFile(std::string_view device, const std::vector<SyncRecord>& records);

struct SyncFileContents {
    std::string device;
    std::vector<SyncRecord> records;
    std::string problem;  // empty when the file was read
};
SyncFileContents decodeSyncFile(std::string_view bytes);

// Writes a file whole: a hidden temporary name in the same folder, flushed to the disk, then
// renamed over the final name, so a reader sees the whole file or none. step, when given, is
// told before each step ("open", "write", "sync", "rename") and may stop the write there by
// returning false, as a kill would (tests).
using WriteStep = std::function<bool(std::string_view step)>;
bool writeFileWhole(const std::string& path, std::string_view bytes, const WriteStep& step = {});

}  // namespace bp::sync
