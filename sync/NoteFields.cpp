#include "sync/NoteFields.h"

#include "alarm/ActionFlags.h"
#include "store/NotesDatabase.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace bp::sync {
namespace {

struct FieldGroup {
    std::string_view key;
    std::vector<std::string_view> attributes;
    std::vector<std::string_view> extras;
};

const FieldGroup& placeGroup() {
    static const FieldGroup group{kPlaceField, {"xPos", "yPos", "Width", "Height"}, {}};
    return group;
}

const FieldGroup& alarmGroup() {
    static const FieldGroup group{
        "alarm",
        {"isReminder", "remindTime", "remindTime1", "remindTime2", "remindRepeat",
         "remindSnoozeTime", "remindRepeatTimes", "remindRepeatInterval", "remindRepeatInterval2",
         "remindFlashTimes", "remindFlashInterval", "remindWav", "schedule", "repeatEach"},
        {note::snoozeEnd, note::missedAlarm}};
    return group;
}

const FieldGroup& actionGroup() {
    static const FieldGroup group{kActionField, {"remindAction", "remindUrl", "remindExe"}, {}};
    return group;
}

// What the database keeps for itself: the record number, and the attachments (not synced).
bool isLocalOnly(std::string_view name) {
    return name == "nid" || name == "attachedFiles";
}

bool inGroup(std::string_view name) {
    for (const FieldGroup* group : {&placeGroup(), &alarmGroup(), &actionGroup()}) {
        if (std::find(group->attributes.begin(), group->attributes.end(), name) !=
            group->attributes.end()) {
            return true;
        }
    }
    return false;
}

// Remote actions that do something outside Brightpost.
constexpr int kProgramActionBits =
    (1 << action::ShutDown) | (1 << action::OpenUrl) | (1 << action::OpenProgram);

}  // namespace

std::string encodeValues(const std::vector<std::optional<std::string>>& values) {
    std::string text;
    for (const std::optional<std::string>& value : values) {
        if (value) {
            text += std::to_string(value->size()) + ':' + *value;
        } else {
            text += '-';
        }
    }
    return text;
}

std::optional<std::vector<std::optional<std::string>>> decodeValues(std::string_view text,
                                                                    std::size_t count) {
    std::vector<std::optional<std::string>> values;
    std::size_t at = 0;
    while (values.size() < count) {
        if (at < text.size() && text[at] == '-') {
            values.emplace_back();
            ++at;
            continue;
        }
        const std::size_t colon = text.find(':', at);
        std::size_t length = 0;
        if (colon == std::string_view::npos || colon == at || colon - at > 9) {
            return std::nullopt;
        }
        const auto [end, error] = std::from_chars(text.data() + at, text.data() + colon, length);
        if (error != std::errc() || end != text.data() + colon ||
            length > text.size() - colon - 1) {
            return std::nullopt;
        }
        values.emplace_back(std::string(text.substr(colon + 1, length)));
        at = colon + 1 + length;
    }
    if (at != text.size()) {
        return std::nullopt;
    }
    return values;
}

NoteFields::NoteFields(CNotesDatabase& store, std::string screen)
    : store_(store), placeKey_(kPlaceField + std::move(screen)) {}

bool NoteFields::isForeignPlace(std::string_view key) const {
    return key.starts_with(kPlaceField) && key != placeKey_;
}

std::vector<std::int32_t> NoteFields::allNids() {
    IdList nids = store_.ListNotes(kLiveSource);
    if (const std::optional<IdList> inBin = store_.ListDeletedNotes()) {
        nids.insert(nids.end(), inBin->begin(), inBin->end());
    }
    return nids;
}

LocalNote NoteFields::read(std::int32_t nid) {
    LocalNote note;
    note.nid = nid;
    for (const NoteAttribute& attribute : kNoteAttributes) {
        if (!isLocalOnly(attribute.name) && !inGroup(attribute.name)) {
            note.fields.emplace(attribute.name,
                                store_.GetNoteAttribute(kLiveSource, nid, attribute.name));
        }
    }
    auto readGroup = [&](const FieldGroup& group, const std::string& key) {
        std::vector<std::optional<std::string>> values;
        for (const std::string_view name : group.attributes) {
            values.emplace_back(store_.GetNoteAttribute(kLiveSource, nid, name));
        }
        for (const std::string_view name : group.extras) {
            values.push_back(store_.GetNoteExtra(nid, name));
        }
        note.fields.emplace(key, encodeValues(values));
    };
    readGroup(placeGroup(), placeKey_);
    readGroup(alarmGroup(), std::string(alarmGroup().key));
    readGroup(actionGroup(), std::string(actionGroup().key));
    store_.GetNoteBody(kLiveSource, nid, note.body);
    // The line break the store puts before the body's end marker is not part of the body.
    if (note.body.ends_with("\r\n")) {
        note.body.resize(note.body.size() - 2);
    }
    return note;
}

bool NoteFields::write(std::int32_t nid, const std::string& key, const std::string& value) {
    const FieldGroup* group = nullptr;
    if (key == placeKey_) {
        group = &placeGroup();
    } else if (key == alarmGroup().key) {
        group = &alarmGroup();
    } else if (key == actionGroup().key) {
        group = &actionGroup();
    }
    if (!group) {
        const std::size_t at = NoteAttributeIndex(key);
        if (at == kNoteAttributes.size() || isLocalOnly(key) || inGroup(key)) {
            return false;  // a field this version does not know: kept, not written
        }
        return store_.SetNoteAttribute(nid, key, value);
    }
    const auto values = decodeValues(value, group->attributes.size() + group->extras.size());
    if (!values) {
        return false;
    }
    for (std::size_t i = 0; i < group->attributes.size(); ++i) {
        if (!(*values)[i]) {
            return false;
        }
    }
    for (std::size_t i = 0; i < group->attributes.size(); ++i) {
        store_.SetNoteAttribute(nid, group->attributes[i], *(*values)[i]);
    }
    for (std::size_t i = 0; i < group->extras.size(); ++i) {
        store_.SetNoteExtra(nid, group->extras[i], (*values)[group->attributes.size() + i]);
    }
    return true;
}

std::string NoteFields::withoutProgramActions(const std::string& actionValue) {
    auto values = decodeValues(actionValue, actionGroup().attributes.size());
    if (!values || !(*values)[0]) {
        return actionValue;
    }
    const int flags = CNotesDatabase::ParseInt(*(*values)[0]);
    if ((flags & kProgramActionBits) == 0) {
        return actionValue;
    }
    (*values)[0] = std::to_string(flags & ~kProgramActionBits);
    return encodeValues(*values);
}

}  // namespace bp::sync
