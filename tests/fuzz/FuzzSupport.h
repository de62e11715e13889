#pragma once

#include "platform/fake/FakePlatform.h"
#include "store/NotesDatabase.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace bp::fuzz {

// One private folder per fuzzing process.
inline const std::string& folder() {
    static const std::string path = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "bp-fuzz-XXXXXX").string();
        return std::string(::mkdtemp(pattern.data()));
    }();
    return path;
}

inline void writeBytes(const std::string& path, const std::uint8_t* data, std::size_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0) {
        std::abort();
    }
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n <= 0) {
            std::abort();
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    ::close(fd);
}

// Reads everything a note offers through the given source.
inline void readEverything(CNotesDatabase& db, int source, std::int32_t nid) {
    static const char* const kNames[] = {"nid",           "title",     "priority", "time",
                                         "titleFontType", "isDeleted", "schedule", "missing"};
    for (const char* name : kNames) {
        db.GetNoteInt(source, nid, name);
        db.GetNoteUInt(source, nid, name);
        db.GetNoteFont(source, nid, name);
        db.GetNoteString(source, nid, name);
    }
    std::string body;
    db.GetNoteBody(source, nid, body);
    if (auto fids = db.GetNoteAttachedFiles(source, nid, 5)) {
        for (std::int32_t fid : *fids) {
            std::string name;
            db.GetNoteAttachedFilename(source, nid, fid, name);
            db.GetNoteAttachedFiletype(source, nid, fid);
        }
    }
    for (int filter : {4, 99, 0}) {
        db.GetNoteAttachedFiles(source, nid, filter);
    }
}

}  // namespace bp::fuzz
