#pragma once

#include <string>
#include <string_view>
#include <vector>

// Files of the data folder: the length-prefixed database format and the file operations of
// saving, backups and recovery. Writes are durable: data and folder are synced before a
// write counts as done.
namespace bp::dbfile {

enum class ReadStatus {
    Ok,
    Missing,     // no file at the path
    CannotOpen,  // exists but cannot be opened or read (permissions, a folder, I/O error)
    BadLength,   // the length prefix is negative or larger than the rest of the file
};

struct ReadResult {
    ReadStatus status = ReadStatus::Missing;
    std::string text;  // up to the first zero byte, when status is Ok
};

ReadResult readDatabaseText(const std::string& path);

// Writes the 4-byte little-endian length and the text, then syncs. Returns 0 on success or
// the cause number of the failure (1 generic, 2 not found, 3 bad path, 4 too many open files,
// 5 access denied, 10 I/O error, 13 disk full). A private file is readable by the user only.
int writeDatabaseText(const std::string& path, std::string_view text, bool privateFile);

bool fileExists(const std::string& path);
bool removeFile(const std::string& path);
// Byte-for-byte copy that replaces the target; the copy is private to the user and synced.
bool copyFile(const std::string& from, const std::string& to);
// rename(2) over the target, then sync the target's folder.
bool replaceFile(const std::string& from, const std::string& to);

// Full paths of the entries of folder whose names match "prefix*suffix", sorted by name.
std::vector<std::string> listMatching(const std::string& folder, std::string_view prefix,
                                      std::string_view suffix);

// The part of a path after the last '/'.
std::string_view fileName(std::string_view path);

}  // namespace bp::dbfile
