#pragma once

#include "support/StoreFixture.h"
#include "sync/NoteFields.h"
#include "sync/SyncDevice.h"

#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace bp::test {

// One machine: its own database, its own copy of the sync folder (the test plays the sync
// engine and carries files between the copies), its own clock.
class SimulatedDevice : public StoreFixture {
public:
    explicit SimulatedDevice(std::string id, std::string screen = "1920x1080")
        : id_(std::move(id)), screen_(std::move(screen)) {
        restart();
    }

    // A new program on the same database and sync folder, as after a kill.
    void restart() {
        device = std::make_unique<sync::SyncDevice>(
            store, fakes.clock, sync::SyncSetup{syncFolder.path(), id_, "Machine " + id_, screen_});
    }

    sync::SyncRound sync() { return device->sync(); }

    const std::string& id() const { return id_; }
    std::string devicesFolder() const { return syncFolder.path() + "/devices"; }

    // Every note by its sync id: its fields and body, without the window place when asked.
    std::map<std::string, std::map<std::string, std::string>> notes(bool withPlace = true) {
        std::map<std::string, std::map<std::string, std::string>> all;
        sync::NoteFields fields(store, screen_);
        for (const std::int32_t nid : fields.allNids()) {
            sync::LocalNote note = fields.read(nid);
            if (!withPlace) {
                note.fields.erase(fields.placeKey());
            }
            note.fields["(body)"] = note.body;
            all[store.GetNoteExtra(nid, sync::kUidAttribute).value_or("?")] = note.fields;
        }
        return all;
    }
    std::int32_t nidOf(const std::string& uid) {
        sync::NoteFields fields(store, screen_);
        for (const std::int32_t nid : fields.allNids()) {
            if (store.GetNoteExtra(nid, sync::kUidAttribute) == uid) {
                return nid;
            }
        }
        return 0;
    }
    std::string uidOf(std::int32_t nid) {
        return store.GetNoteExtra(nid, sync::kUidAttribute).value_or("");
    }
    std::string body(std::int32_t nid) {
        std::string text;
        store.GetNoteBody(kLiveSource, nid, text);
        return text.substr(0, text.size() - 2);
    }

    TempFolder syncFolder;
    std::unique_ptr<sync::SyncDevice> device;

private:
    std::string id_;
    std::string screen_;
};

using NoteMap = std::map<std::string, std::map<std::string, std::string>>;

// The notes and fields in which two devices differ, or nothing.
inline std::string differences(const NoteMap& left, const NoteMap& right) {
    std::string out;
    for (const auto& [uid, fields] : left) {
        const auto other = right.find(uid);
        if (other == right.end()) {
            out += uid + " only on the first\n";
            continue;
        }
        for (const auto& [key, value] : fields) {
            const auto there = other->second.find(key);
            if (there == other->second.end() || there->second != value) {
                out += uid + "." + key + ": [" + value + "] vs [" +
                       (there == other->second.end() ? "-" : there->second) + "]\n";
            }
        }
    }
    for (const auto& [uid, fields] : right) {
        if (!left.contains(uid)) {
            out += uid + " only on the second\n";
        }
    }
    return out;
}

namespace fs = std::filesystem;

// The files of one device's folder in another copy of the sync folder, as an engine brings
// them.
inline std::vector<fs::path> filesOf(const SimulatedDevice& from, const std::string& device) {
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(from.devicesFolder() + "/" + device, error)) {
        if (!entry.path().filename().string().starts_with('.')) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

inline fs::path placeIn(const SimulatedDevice& to, const fs::path& file,
                        const std::string& suffix = "") {
    const fs::path folder = fs::path(to.devicesFolder()) / file.parent_path().filename();
    fs::create_directories(folder);
    return folder / (file.filename().string() + suffix);
}

// Brings a device's own files to another device's copy of the folder, as the engine does
// once both are online.
inline void carryAll(const SimulatedDevice& from, const SimulatedDevice& to) {
    for (const fs::path& file : filesOf(from, from.id())) {
        fs::copy_file(file, placeIn(to, file), fs::copy_options::overwrite_existing);
    }
}

}  // namespace bp::test
