#pragma once

#include "sync/NoteFields.h"
#include "sync/Stamp.h"
#include "sync/SyncFile.h"
#include "sync/SyncState.h"

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace bp {
class CNotesDatabase;
class IClock;
}  // namespace bp

namespace bp::sync {

struct SyncSetup {
    std::string folder;      // the sync folder the user chose
    std::string deviceId;    // letters, digits and '-', unique to this machine
    std::string deviceName;  // shown in the titles of conflict copies
    std::string screen;      // the screen arrangement, e.g. "1920x1080+0+0"
};

// What one round did.
struct SyncRound {
    std::size_t recordsWritten = 0;
    std::size_t notesChanged = 0;  // notes of this database changed by other devices
    // Files of other devices that could not be read, each told once: "<device>/<file>: why".
    std::vector<std::string> problems;
};

// One device's side of the sync folder. The folder holds devices/<device id>/ for each
// device, and each device writes only its own folder: segments (seg-*.bps) of what changed
// since, and now and then a snapshot (snap-*.bps) that replaces its segments. A round sends
// this database's changes, reads what the other devices wrote and merges it in.
//
// The device's own files hold everything this database has taken in, its own edits and what
// it adopted from others, so that after a restart it can tell its own edits from news.
class SyncDevice {
public:
    SyncDevice(CNotesDatabase& store, const IClock& clock, SyncSetup setup);

    SyncRound sync();

    // Alarm actions another device set that start a program, open an address or shut the
    // machine down stay off here until the user confirms them once on this machine.
    bool hasHeldActions(std::int32_t nid);
    bool confirmHeldActions(std::int32_t nid);

    // Tests stop a write part-way, as a kill would.
    void setWriteStep(WriteStep step) { writeStep_ = std::move(step); }
    const SyncState& state() const { return state_; }
    std::string ownFolder() const;

private:
    void start(SyncRound& round);
    void giveUids();
    std::map<std::string, LocalNote> readLocal();
    void joinKnownNotes(const std::map<std::string, LocalNote>& local);
    void sendLocalChanges(const std::map<std::string, LocalNote>& local);
    void readOthers(SyncRound& round);
    void readFile(const std::string& path, const std::string& device, bool own, SyncRound& round);
    void takeIn(const SyncRecord& record, bool own);
    void makeConflictCopies(const std::string& uid, const NoteView& view);
    void apply(const std::string& uid, const NoteView& view,
               std::map<std::string, LocalNote>& local);
    bool flush(SyncRound& round);
    void compact();
    std::string deviceName(const std::string& deviceId) const;
    std::string expectedActionValue(std::int32_t nid, const std::string& registerValue);

    CNotesDatabase& store_;
    HybridClock clock_;
    SyncSetup setup_;
    NoteFields fields_;
    SyncState state_;
    bool started_ = false;
    bool firstRun_ = false;
    // The first round of a database that has never synced with this folder.
    bool joining_ = false;
    std::vector<SyncRecord> pending_;
    std::set<std::string> touched_;
    // Files already read, by path, with the size and change time they had.
    std::map<std::string, std::pair<std::uintmax_t, std::int64_t>> seenFiles_;
    std::uintmax_t segmentBytes_ = 0;
    std::size_t segmentCount_ = 0;
    std::uintmax_t snapshotBytes_ = 0;
    WriteStep writeStep_;
};

}  // namespace bp::sync
