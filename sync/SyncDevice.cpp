#include "sync/SyncDevice.h"
#include "store/NoteIds.h"

#include "store/NotesDatabase.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace bp::sync {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kDevicePrefix = "device:";
constexpr std::string_view kFileSuffix = ".bps";
// Segments are folded into a snapshot once there are this many, or once they hold more than
// half as much as the last snapshot (and at least kMinCompactBytes).
constexpr std::size_t kMaxSegments = 64;
constexpr std::uintmax_t kMinCompactBytes = 1u << 20;

bool isNote(const std::string& uid) {
    return !uid.starts_with(kDevicePrefix);
}

std::string fileName(std::string_view kind, const Stamp& stamp) {
    char name[64];
    std::snprintf(name, sizeof name, "%.*s-%012lld-%010u.bps", static_cast<int>(kind.size()),
                  kind.data(), static_cast<long long>(stamp.wall), stamp.counter);
    return name;
}

// Files an engine renamed (name.sync-conflict-..., "name (2)") are read like the rest;
// hidden ones are temporary files of a write in progress.
bool isSyncFile(const fs::directory_entry& entry) {
    const std::string name = entry.path().filename().string();
    std::error_code error;
    return !name.starts_with('.') && name.find(kFileSuffix) != std::string::npos &&
           entry.is_regular_file(error);
}

std::int64_t changeTime(const fs::directory_entry& entry) {
    std::error_code error;
    const auto time = entry.last_write_time(error);
    return error ? 0 : static_cast<std::int64_t>(time.time_since_epoch().count());
}

}  // namespace

SyncDevice::SyncDevice(CNotesDatabase& store, const IClock& clock, SyncSetup setup)
    : store_(store),
      clock_(clock, setup.deviceId),
      setup_(std::move(setup)),
      fields_(store, setup_.screen) {}

std::string SyncDevice::ownFolder() const {
    return (fs::path(setup_.folder) / "devices" / setup_.deviceId).string();
}

SyncRound SyncDevice::sync() {
    SyncRound round;
    if (!started_) {
        start(round);
    }
    giveUids();
    firstRun_ = false;
    std::map<std::string, LocalNote> local = readLocal();
    if (joining_) {
        // A database that joins takes what the others agreed on for the notes they know
        // (the sample notes of every new database among them) before it tells its own.
        readOthers(round);
        joinKnownNotes(local);
        joining_ = false;
    }
    sendLocalChanges(local);
    readOthers(round);
    // Conflict copies are notes of their own, made alike by every device that sees the
    // conflict; they are touched too.
    for (const std::string& uid : std::set<std::string>(touched_)) {
        if (isNote(uid)) {
            makeConflictCopies(uid, state_.view(uid));
        }
    }
    if (!touched_.empty()) {
        for (const std::string& uid : touched_) {
            if (isNote(uid)) {
                apply(uid, state_.view(uid), local);
                ++round.notesChanged;
            }
        }
        touched_.clear();
        // What applying left that the others do not know yet: a new note's place here.
        sendLocalChanges(readLocal());
    }
    flush(round);
    return round;
}

void SyncDevice::start(SyncRound& round) {
    started_ = true;
    std::error_code error;
    fs::create_directories(ownFolder(), error);
    firstRun_ = true;
    joining_ = true;
    for (const fs::directory_entry& entry : fs::directory_iterator(ownFolder(), error)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with('.') && name.ends_with(".tmp")) {
            fs::remove(entry.path(), error);  // left by a write that was killed
        } else if (isSyncFile(entry)) {
            firstRun_ = false;
            joining_ = false;
            const std::uintmax_t size = entry.file_size(error);
            if (name.starts_with("snap-")) {
                snapshotBytes_ = std::max(snapshotBytes_, size);
            } else {
                segmentBytes_ += size;
                ++segmentCount_;
            }
            readFile(entry.path().string(), setup_.deviceId, true, round);
        }
    }
    const std::string nameUid = std::string(kDevicePrefix) + setup_.deviceId;
    const NoteHistory* known = state_.find(nameUid);
    if (!known || !known->fields.contains("name") ||
        known->fields.at("name").value != setup_.deviceName) {
        SyncRecord name{SyncRecord::Kind::Field, nameUid, "name", setup_.deviceName, {},
                        clock_.tick(),           {}};
        state_.add(name);
        pending_.push_back(std::move(name));
    }
}

void SyncDevice::giveUids() {
    std::set<std::string> seen;
    for (auto& [nid, workedOut] : workedOutNoteIds(store_, fields_.allNids())) {
        std::optional<std::string> uid = store_.GetNoteExtra(nid, kUidAttribute);
        if (uid && !uid->empty() && seen.insert(*uid).second) {
            continue;
        }
        // The same id as the note directory works out, so that the notes of a database that
        // turns sync on keep the ids scripts knew; the sample notes of two new databases are
        // then one note. Notes made later (and a copy that carries another note's id) mix in
        // this device, so two devices never make the same id.
        std::string id = std::move(workedOut);
        if (!firstRun_ || (uid && !uid->empty())) {
            std::string mixed = id;
            mixed.append(":").append(setup_.deviceId).append(":").append(uid.value_or(""));
            mixed.append(":").append(std::to_string(nid));
            id = hashId(mixed);
        }
        seen.insert(id);
        store_.SetNoteExtra(nid, kUidAttribute, id);
    }
}

std::map<std::string, LocalNote> SyncDevice::readLocal() {
    std::map<std::string, LocalNote> local;
    for (const std::int32_t nid : fields_.allNids()) {
        if (const std::optional<std::string> uid = store_.GetNoteExtra(nid, kUidAttribute)) {
            local.emplace(*uid, fields_.read(nid));
        }
    }
    return local;
}

std::string SyncDevice::expectedActionValue(std::int32_t nid, const std::string& registerValue) {
    return store_.GetNoteExtra(nid, kHeldActionAttribute)
               ? NoteFields::withoutProgramActions(registerValue)
               : registerValue;
}

void SyncDevice::sendLocalChanges(const std::map<std::string, LocalNote>& local) {
    auto send = [&](SyncRecord record) {
        state_.add(record);
        pending_.push_back(std::move(record));
    };
    // Notes just read from the others are not this database's yet: applying them comes next.
    for (const auto& [uid, note] : local) {
        if (touched_.contains(uid)) {
            continue;
        }
        const NoteView view = state_.view(uid);
        for (const auto& [key, value] : note.fields) {
            const auto known = view.fields.find(key);
            std::optional<std::string> expected;
            if (known != view.fields.end()) {
                expected = key == kActionField ? expectedActionValue(note.nid, known->second)
                                               : known->second;
            }
            if (view.exists && expected == value) {
                continue;
            }
            if (key == kActionField) {
                // The user's own choice here replaces whatever waited for confirmation.
                store_.SetNoteExtra(note.nid, kHeldActionAttribute, std::nullopt);
            }
            send({SyncRecord::Kind::Field, uid, key, value, {}, clock_.tick(), {}});
        }
        if (!view.exists || view.heads.empty() || view.body != note.body) {
            const Stamp stamp = clock_.tick();
            send({SyncRecord::Kind::Body,
                  uid,
                  bodyVersionId(uid, view.heads, note.body, stamp),
                  note.body,
                  view.heads,
                  stamp,
                  {}});
        }
    }
    for (const auto& [uid, history] : state_.notes()) {
        if (isNote(uid) && !local.contains(uid) && !touched_.contains(uid) &&
            state_.view(uid).exists) {
            const Stamp stamp = clock_.tick();
            send({SyncRecord::Kind::Erase,
                  uid,
                  {},
                  {},
                  {},
                  stamp,
                  SyncState::latestStamps(history)});
        }
    }
}

void SyncDevice::joinKnownNotes(const std::map<std::string, LocalNote>& local) {
    for (auto note = local.begin(); note != local.end(); ++note) {
        const NoteView view = state_.view(note->first);
        if (!view.exists) {
            continue;
        }
        // The text this database had differs: it is sent as older than anything else, so it
        // loses the merge and stays as a conflict copy next to the note.
        if (!view.heads.empty() && view.body != note->second.body) {
            const Stamp oldest{0, 0, setup_.deviceId};
            takeIn({SyncRecord::Kind::Body,
                    note->first,
                    bodyVersionId(note->first, {}, note->second.body, oldest),
                    note->second.body,
                    {},
                    oldest,
                    {}},
                   false);
        }
    }
}

void SyncDevice::takeIn(const SyncRecord& record, bool own) {
    clock_.observe(record.stamp);
    if (state_.add(record)) {
        touched_.insert(record.uid);
        if (!own) {
            pending_.push_back(record);
        }
    }
}

void SyncDevice::readFile(const std::string& path, const std::string& device, bool own,
                          SyncRound& round) {
    std::error_code error;
    const std::uintmax_t size = fs::file_size(path, error);
    std::string problem;
    SyncFileContents contents;
    if (error) {
        problem = "cannot be read";
    } else if (size > kMaxFileBytes) {
        problem = "too large";
    } else {
        std::ifstream in(path, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        contents = decodeSyncFile(bytes);
        problem = contents.problem;
    }
    if (!problem.empty()) {
        round.problems.push_back(device + '/' + fs::path(path).filename().string() + ": " +
                                 problem);
        return;
    }
    for (const SyncRecord& record : contents.records) {
        takeIn(record, own);
    }
    if (own) {
        touched_.clear();
    }
}

void SyncDevice::readOthers(SyncRound& round) {
    std::error_code error;
    const fs::path devices = fs::path(setup_.folder) / "devices";
    std::set<std::string> present;
    for (const fs::directory_entry& folder : fs::directory_iterator(devices, error)) {
        const std::string device = folder.path().filename().string();
        std::error_code folderError;
        if (device == setup_.deviceId || !folder.is_directory(folderError)) {
            continue;
        }
        for (const fs::directory_entry& entry :
             fs::directory_iterator(folder.path(), folderError)) {
            if (!isSyncFile(entry)) {
                continue;
            }
            const std::string path = entry.path().string();
            std::error_code sizeError;
            const std::pair<std::uintmax_t, std::int64_t> mark{entry.file_size(sizeError),
                                                               changeTime(entry)};
            present.insert(path);
            const auto seen = seenFiles_.find(path);
            if (seen != seenFiles_.end() && seen->second == mark) {
                continue;
            }
            seenFiles_[path] = mark;
            readFile(path, device, false, round);
        }
    }
    std::erase_if(seenFiles_, [&](const auto& entry) { return !present.contains(entry.first); });
}

std::string SyncDevice::deviceName(const std::string& deviceId) const {
    const NoteHistory* device = state_.find(std::string(kDevicePrefix) + deviceId);
    if (device && device->fields.contains("name") && !device->fields.at("name").value.empty()) {
        return device->fields.at("name").value;
    }
    return deviceId;
}

void SyncDevice::makeConflictCopies(const std::string& uid, const NoteView& view) {
    for (const BodyConflict& conflict : view.conflicts) {
        const std::string copy = hashId("conflict:" + uid + ':' + conflict.version);
        if (state_.find(copy)) {
            continue;  // made before, maybe since edited or erased by the user
        }
        for (const auto& [key, value] : view.fields) {
            // The copy is text kept for the user: the note's alarm rings once, not twice.
            if (key == "alarm" || key == kActionField) {
                continue;
            }
            std::string copied = value;
            if (key == "title") {
                copied += (copied.empty() ? "" : " ") + std::string("(conflict, ") +
                          deviceName(conflict.stamp.device) + ")";
            }
            takeIn({SyncRecord::Kind::Field, copy, key, copied, {}, conflict.stamp, {}}, false);
        }
        takeIn({SyncRecord::Kind::Body,
                copy,
                hashId(copy + ':' + conflict.version),
                conflict.text,
                {},
                conflict.stamp,
                {}},
               false);
    }
}

void SyncDevice::apply(const std::string& uid, const NoteView& view,
                       std::map<std::string, LocalNote>& local) {
    const auto mine = local.find(uid);
    if (!view.exists) {
        if (mine != local.end()) {
            store_.DeleteNote(mine->second.nid);
            local.erase(mine);
        }
        return;
    }
    LocalNote current;
    if (mine != local.end()) {
        current = mine->second;
    } else {
        const std::int32_t nid = store_.NewNote();
        store_.SetNoteExtra(nid, kUidAttribute, uid);
        current = fields_.read(nid);
    }
    const std::int32_t nid = current.nid;
    const NoteHistory& history = *state_.find(uid);
    for (const auto& [key, value] : view.fields) {
        if (fields_.isForeignPlace(key)) {
            continue;
        }
        std::string wanted = value;
        if (key == kActionField) {
            const std::string safe = NoteFields::withoutProgramActions(value);
            const bool fromElsewhere = history.fields.at(key).stamp.device != setup_.deviceId;
            const bool held = fromElsewhere && safe != value;
            store_.SetNoteExtra(nid, kHeldActionAttribute,
                                held ? std::optional<std::string>(value) : std::nullopt);
            wanted = held ? safe : value;
        }
        const auto has = current.fields.find(key);
        if (has == current.fields.end() || has->second != wanted) {
            fields_.write(nid, key, wanted);
        }
    }
    if (!view.heads.empty() && view.body != current.body) {
        store_.SetNoteBody(nid, view.body);
    }
}

bool SyncDevice::hasHeldActions(std::int32_t nid) {
    return store_.GetNoteExtra(nid, kHeldActionAttribute).has_value();
}

bool SyncDevice::confirmHeldActions(std::int32_t nid) {
    const std::optional<std::string> held = store_.GetNoteExtra(nid, kHeldActionAttribute);
    if (!held || !fields_.write(nid, kActionField, *held)) {
        return false;
    }
    store_.SetNoteExtra(nid, kHeldActionAttribute, std::nullopt);
    return true;
}

bool SyncDevice::flush(SyncRound& round) {
    if (pending_.empty()) {
        return true;
    }
    const std::string bytes = encodeSyncFile(setup_.deviceId, pending_);
    const std::string path = (fs::path(ownFolder()) / fileName("seg", clock_.tick())).string();
    if (!writeFileWhole(path, bytes, writeStep_)) {
        return false;  // kept for the next round
    }
    round.recordsWritten += pending_.size();
    pending_.clear();
    segmentBytes_ += bytes.size();
    ++segmentCount_;
    compact();
    return true;
}

void SyncDevice::compact() {
    if (segmentCount_ <= kMaxSegments &&
        segmentBytes_ <= std::max(kMinCompactBytes, snapshotBytes_ / 2)) {
        return;
    }
    const std::string bytes = encodeSyncFile(setup_.deviceId, state_.snapshotRecords());
    const std::string name = fileName("snap", clock_.tick());
    if (!writeFileWhole((fs::path(ownFolder()) / name).string(), bytes, writeStep_)) {
        return;
    }
    // Everything the older files said is in the snapshot now; a kill before they are all
    // gone only leaves records a reader takes in twice.
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(ownFolder(), error)) {
        if (isSyncFile(entry) && entry.path().filename() != name) {
            fs::remove(entry.path(), error);
        }
    }
    snapshotBytes_ = bytes.size();
    segmentBytes_ = 0;
    segmentCount_ = 0;
}

}  // namespace bp::sync
