#pragma once

#include <optional>
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
    NotAFile,    // a named pipe, a device or a socket: never opened, as that could wait forever
    BadLength,   // the length prefix is negative or larger than the rest of the file
};

// Which file a path names and what state it is in: another file renamed over the path, or
// the same file written in place, reads as a different identity.
struct FileIdentity {
    unsigned long long device = 0;
    unsigned long long inode = 0;
    long long size = 0;
    long long modifiedSeconds = 0;
    long long modifiedNanoseconds = 0;
    bool operator==(const FileIdentity&) const = default;
};

struct ReadResult {
    ReadStatus status = ReadStatus::Missing;
    std::string text;       // up to the first zero byte, when status is Ok
    FileIdentity identity;  // of the file read, when status is Ok
};

// The identity of whatever is at the path (a symlink itself, not its target); none when
// nothing is there.
std::optional<FileIdentity> identify(const std::string& path);

ReadResult readDatabaseText(const std::string& path);

// Writes the 4-byte little-endian length and the text, then syncs. Returns 0 on success or
// the cause number of the failure (1 generic, 2 not found, 3 bad path, 4 too many open files,
// 5 access denied, 10 I/O error, 13 disk full). A private file is readable by the user only.
// A private file is never written through a symlink. Only a regular file is written: a named
// pipe or a device at the path is refused (cause 3) and left as it is. A file this call
// opened and could not finish is removed, as half a database is worth nothing.
int writeDatabaseText(const std::string& path, std::string_view text, bool privateFile);
// Like a private writeDatabaseText, but removes whatever has the name first and creates the
// file anew (O_EXCL), so the bytes land in a file of our own making.
int createDatabaseText(const std::string& path, std::string_view text);

bool fileExists(const std::string& path);
// The whole content of a regular file; none when the path names anything else or cannot be
// read. Never waits for the writer of a named pipe.
std::optional<std::string> readRegularFile(const std::string& path);
bool removeFile(const std::string& path);
// Byte-for-byte copy that replaces the target; the copy is private to the user and synced.
// A symlink at the target is not followed: the copy fails instead. Both ends must be regular
// files: a named pipe or a device fails the copy at once instead of holding it.
bool copyFile(const std::string& from, const std::string& to);
// rename(2) over the target, then sync the target's folder.
bool replaceFile(const std::string& from, const std::string& to);
// Puts a file under another name without ever losing it: a rename, or else a complete,
// synced copy after which the original is removed. False leaves the original in place.
bool moveAside(const std::string& from, const std::string& to);
// Readable by the user only; a symlink is left as it is.
void makePrivate(const std::string& path);

// Full paths of the entries of folder whose names match "prefix*suffix", sorted by name.
std::vector<std::string> listMatching(const std::string& folder, std::string_view prefix,
                                      std::string_view suffix);

// The part of a path after the last '/'.
std::string_view fileName(std::string_view path);

}  // namespace bp::dbfile
