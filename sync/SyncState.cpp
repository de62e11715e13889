#include "sync/SyncState.h"
#include "store/NoteIds.h"

#include "sync/LineMerge.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <tuple>

namespace bp::sync {
namespace {

// How many generations behind each head a snapshot keeps, as bases of later merges.
constexpr int kKeptGenerations = 2;

bool covered(const NoteHistory& history, const Stamp& stamp) {
    const auto seen = history.erasedUpTo.find(stamp.device);
    return seen != history.erasedUpTo.end() && stamp <= seen->second;
}

bool erased(const NoteHistory& history) {
    if (history.erasedUpTo.empty()) {
        return false;
    }
    for (const auto& [key, field] : history.fields) {
        if (!covered(history, field.stamp)) {
            return false;
        }
    }
    for (const auto& [id, version] : history.bodies) {
        if (!covered(history, version.stamp)) {
            return false;
        }
    }
    return true;
}

std::set<std::string> ancestry(const NoteHistory& history, const std::string& from) {
    std::set<std::string> seen{from};
    std::vector<std::string> open{from};
    while (!open.empty()) {
        const std::string id = std::move(open.back());
        open.pop_back();
        const auto version = history.bodies.find(id);
        if (version == history.bodies.end()) {
            continue;
        }
        for (const std::string& parent : version->second.parents) {
            if (seen.insert(parent).second) {
                open.push_back(parent);
            }
        }
    }
    return seen;
}

std::vector<std::string> headsOf(const NoteHistory& history) {
    std::set<std::string> parents;
    for (const auto& [id, version] : history.bodies) {
        parents.insert(version.parents.begin(), version.parents.end());
    }
    std::vector<std::string> heads;
    for (const auto& [id, version] : history.bodies) {
        if (!parents.contains(id)) {
            heads.push_back(id);
        }
    }
    return heads;
}

}  // namespace

std::string hashId(std::string_view text) {
    return stableHashHex(text);
}

std::string bodyVersionId(const std::string& uid, const std::vector<std::string>& parents,
                          const std::string& text, const Stamp& stamp) {
    std::string key = uid + '\n' + std::to_string(stamp.wall) + '.' +
                      std::to_string(stamp.counter) + '.' + stamp.device + '\n';
    for (const std::string& parent : parents) {
        key += parent + ',';
    }
    return hashId(key + '\n' + text);
}

bool SyncState::add(const SyncRecord& record) {
    NoteHistory& history = notes_[record.uid];
    switch (record.kind) {
        case SyncRecord::Kind::Field: {
            auto [at, inserted] = history.fields.try_emplace(
                record.key, NoteHistory::Register{record.value, record.stamp});
            if (inserted) {
                return true;
            }
            // Two values of one stamp only come from a copy every device makes alike (or a
            // hostile file); the larger value wins, so all still agree.
            if (std::tie(record.stamp, record.value) >
                std::tie(at->second.stamp, at->second.value)) {
                at->second = {record.value, record.stamp};
                return true;
            }
            return false;
        }
        case SyncRecord::Kind::Body: {
            NoteHistory::BodyVersion version{record.parents, record.value, record.stamp};
            auto [at, inserted] = history.bodies.try_emplace(record.key, version);
            if (inserted) {
                return true;
            }
            if (std::tie(version.stamp, version.text, version.parents) >
                std::tie(at->second.stamp, at->second.text, at->second.parents)) {
                at->second = std::move(version);
                return true;
            }
            return false;
        }
        case SyncRecord::Kind::Erase: {
            bool changed = false;
            for (const Stamp& seen : record.covers) {
                auto [at, inserted] = history.erasedUpTo.try_emplace(seen.device, seen);
                if (inserted || at->second < seen) {
                    at->second = seen;
                    changed = true;
                }
            }
            return changed;
        }
    }
    return false;
}

const NoteHistory* SyncState::find(const std::string& uid) const {
    const auto at = notes_.find(uid);
    return at == notes_.end() ? nullptr : &at->second;
}

std::vector<Stamp> SyncState::latestStamps(const NoteHistory& history) {
    std::map<std::string, Stamp> latest = history.erasedUpTo;
    auto take = [&](const Stamp& stamp) {
        auto [at, inserted] = latest.try_emplace(stamp.device, stamp);
        if (!inserted && at->second < stamp) {
            at->second = stamp;
        }
    };
    for (const auto& [key, field] : history.fields) {
        take(field.stamp);
    }
    for (const auto& [id, version] : history.bodies) {
        take(version.stamp);
    }
    std::vector<Stamp> stamps;
    stamps.reserve(latest.size());
    for (auto& [device, stamp] : latest) {
        stamps.push_back(std::move(stamp));
    }
    return stamps;
}

NoteView SyncState::view(const std::string& uid) const {
    NoteView view;
    const NoteHistory* history = find(uid);
    if (!history || (history->fields.empty() && history->bodies.empty()) || erased(*history)) {
        return view;
    }
    view.exists = true;
    for (const auto& [key, field] : history->fields) {
        view.fields.emplace(key, field.value);
    }
    std::vector<std::string> heads = headsOf(*history);
    // The newest head stays in the note; the others are merged into it one by one, newest
    // first, each against the newest version both had.
    std::sort(heads.begin(), heads.end(), [&](const std::string& a, const std::string& b) {
        const Stamp& sa = history->bodies.at(a).stamp;
        const Stamp& sb = history->bodies.at(b).stamp;
        return sa != sb ? sa > sb : a < b;
    });
    view.heads = heads;
    if (heads.empty()) {
        return view;
    }
    view.body = history->bodies.at(heads.front()).text;
    std::set<std::string> merged = ancestry(*history, heads.front());
    for (std::size_t i = 1; i < heads.size(); ++i) {
        const NoteHistory::BodyVersion& other = history->bodies.at(heads[i]);
        const std::set<std::string> theirs = ancestry(*history, heads[i]);
        const NoteHistory::BodyVersion* base = nullptr;
        for (const std::string& id : theirs) {
            const auto known = history->bodies.find(id);
            if (known != history->bodies.end() && merged.contains(id) &&
                (!base || base->stamp < known->second.stamp)) {
                base = &known->second;
            }
        }
        const std::optional<std::string> result =
            mergeLines(base ? base->text : std::string(), view.body, other.text);
        if (result) {
            view.body = *result;
        } else {
            view.conflicts.push_back({heads[i], other.text, other.stamp});
        }
        merged.insert(theirs.begin(), theirs.end());
    }
    return view;
}

std::vector<SyncRecord> SyncState::snapshotRecords() const {
    std::vector<SyncRecord> records;
    for (const auto& [uid, history] : notes_) {
        if (!history.erasedUpTo.empty()) {
            SyncRecord erasure{SyncRecord::Kind::Erase, uid, {}, {}, {}, {}, {}};
            for (const auto& [device, stamp] : history.erasedUpTo) {
                erasure.covers.push_back(stamp);
                erasure.stamp = std::max(erasure.stamp, stamp);
            }
            records.push_back(std::move(erasure));
            if (erased(history)) {
                continue;
            }
        }
        for (const auto& [key, field] : history.fields) {
            records.push_back(
                {SyncRecord::Kind::Field, uid, key, field.value, {}, field.stamp, {}});
        }
        std::set<std::string> kept;
        std::vector<std::string> generation = headsOf(history);
        for (int depth = 0; depth <= kKeptGenerations && !generation.empty(); ++depth) {
            std::vector<std::string> next;
            for (const std::string& id : generation) {
                const auto version = history.bodies.find(id);
                if (version == history.bodies.end() || !kept.insert(id).second) {
                    continue;
                }
                next.insert(next.end(), version->second.parents.begin(),
                            version->second.parents.end());
            }
            generation = std::move(next);
        }
        for (const std::string& id : kept) {
            const NoteHistory::BodyVersion& version = history.bodies.at(id);
            records.push_back({SyncRecord::Kind::Body,
                               uid,
                               id,
                               version.text,
                               version.parents,
                               version.stamp,
                               {}});
        }
    }
    return records;
}

}  // namespace bp::sync
