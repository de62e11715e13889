#pragma once

#include "sync/SyncFile.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace bp::sync {

// Everything known of one note: each field's latest value, its body's versions, and the
// erasures it had.
struct NoteHistory {
    struct Register {
        std::string value;
        Stamp stamp;
    };
    struct BodyVersion {
        std::vector<std::string> parents;
        std::string text;
        Stamp stamp;
    };
    std::map<std::string, Register> fields;
    std::map<std::string, BodyVersion> bodies;
    // Of each device, the latest record that some erasure had seen.
    std::map<std::string, Stamp> erasedUpTo;
};

// A body version that lost a merge it could not make: it becomes a note of its own.
struct BodyConflict {
    std::string version;
    std::string text;
    Stamp stamp;
};

// What a note is, worked out from its history alone.
struct NoteView {
    bool exists = false;
    std::map<std::string, std::string> fields;
    std::string body;
    // The body versions the body was made from: the parents of the next local edit.
    std::vector<std::string> heads;
    std::vector<BodyConflict> conflicts;
};

// The records of every device joined together. Adding is idempotent and its order does not
// matter, and a note's view depends only on the records it holds: every device holding the
// same records sees the same notes.
class SyncState {
public:
    // False when the record told nothing new.
    bool add(const SyncRecord& record);

    const NoteHistory* find(const std::string& uid) const;
    NoteView view(const std::string& uid) const;
    const std::map<std::string, NoteHistory>& notes() const { return notes_; }
    // Every record, as a snapshot keeps it: of each body only the versions a later merge may
    // still need (the heads and a few generations behind them), and of an erased note only
    // its erasure.
    std::vector<SyncRecord> snapshotRecords() const;
    // Of each device, the latest stamp this note holds (what an erasure of it covers).
    static std::vector<Stamp> latestStamps(const NoteHistory& history);

private:
    std::map<std::string, NoteHistory> notes_;
};

// A body version's id: the same for the same edit on every device.
std::string bodyVersionId(const std::string& uid, const std::vector<std::string>& parents,
                          const std::string& text, const Stamp& stamp);
std::string hashId(std::string_view text);

}  // namespace bp::sync
