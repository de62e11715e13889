#include "NoteCatalogue.h"

#include "Markup.h"
#include "Settings.h"
#include "platform/Clock.h"
#include "platform/Desktop.h"

#include <algorithm>
#include <array>
#include <climits>

namespace bp {

using namespace markup;

std::int32_t NoteCatalogue::newNote() {
    std::lock_guard lock(data_.lock);
    std::uint32_t largest = 0;
    data_.notes.forEachSummary([&](const NoteSection::Summary& s) {
        if (s.hasNid) {
            largest = std::max(largest, static_cast<std::uint32_t>(s.nid));
        }
    });
    const auto nid = static_cast<std::int32_t>(largest + 1);

    // The settings are read in table order, before the position that depends on them.
    std::array<std::string, kNoteAttributes.size()> values;
    for (std::size_t i = 0; i < kNoteAttributes.size(); ++i) {
        const NoteAttribute& attribute = kNoteAttributes[i];
        if (attribute.newFrom == NewFrom::Setting) {
            values[i] = settings_.read(attribute.newValue);
        } else if (attribute.newFrom == NewFrom::Value) {
            values[i] = attribute.newValue;
        }
    }
    constexpr std::size_t kWidth = NoteAttributeIndex(note::Width.name);
    constexpr std::size_t kHeight = NoteAttributeIndex(note::Height.name);

    // Rows of 40 pixels down the screen, then a step to the right for every full column.
    const Rect screen = desktop_->screenRect();
    const long long w = parseStoredInt(values[kWidth]);
    const long long h = parseStoredInt(values[kHeight]);
    const long long rows = (static_cast<long long>(screen.height) - h) / 40;
    long long x = 0;
    long long y = 0;
    if (rows > 0) {
        const long long q = nid / rows;
        const long long r = nid % rows;
        x = (q + 1) * 100 + r * 15;
        y = r * 40;
    } else {
        // The screen is lower than a note plus one step: every note starts at the top.
        x = (static_cast<long long>(nid) + 1) * 100;
    }
    const long long room = static_cast<long long>(screen.width) - w;
    if (x > room) {
        // Past the right edge: wrap round so the note stays on the screen.
        x = room > 0 ? x % (room + 1) : 0;
    }
    x = std::max(0LL, x);
    y = std::max(0LL, y);

    values[NoteAttributeIndex(note::nid.name)] = std::to_string(nid);
    values[NoteAttributeIndex(note::xPos.name)] = std::to_string(x);
    values[NoteAttributeIndex(note::yPos.name)] = std::to_string(y);
    std::string element = "\r\n<note";
    for (std::size_t i = 0; i < kNoteAttributes.size(); ++i) {
        element += AttributeText(kNoteAttributes[i].name, values[i]);
    }
    element += ">\r\n";
    element += kBodyStart;
    element += kBodyEnd;
    element += kNoteEnd;
    data_.notes.append(element);
    data_.notifyChange();
    return nid;
}

bool NoteCatalogue::deleteNote(std::int32_t nid) {
    std::lock_guard lock(data_.lock);
    NoteSection::Location at;
    std::string_view element;
    if (!data_.locateToChange(nid, at, element, "DeleteNote")) {
        return false;
    }
    data_.notes.removeNote(at);
    data_.notifyChange();
    return true;
}

void NoteCatalogue::setDeleted(std::int32_t nid, int flag) {
    if (flag == 1) {
        // Each round removes one note for good, so the purge ends; it also ends when a
        // removal fails or no note can be chosen.
        for (;;) {
            const std::optional<IdList> bin = listDeleted();
            if (!bin) {
                break;
            }
            if (static_cast<long long>(bin->size()) < settings_.readInt(setting::deleteMax.name)) {
                break;
            }
            std::uint32_t oldest = UINT32_MAX;
            std::optional<std::int32_t> victim;
            for (std::int32_t id : *bin) {
                const std::uint32_t t = records_.readUInt(kLiveSource, id, note::deleteTime.name);
                if (t < oldest) {
                    oldest = t;
                    victim = id;
                }
            }
            if (!victim || !deleteNote(*victim)) {
                break;
            }
        }
    }
    records_.writeUInt(nid, note::deleteTime.name, static_cast<std::uint32_t>(clock_->now()));
    records_.writeInt(nid, note::isDeleted.name, flag);
}

IdList NoteCatalogue::list(int source) {
    const auto lock = data_.lockFor(source);
    IdList ids;
    data_.sectionOf(source).forEachSummary([&](const NoteSection::Summary& s) {
        if (s.notDeleted && s.hasNid) {
            ids.push_back(s.nid);
        }
    });
    return ids;
}

std::optional<IdList> NoteCatalogue::listDeleted() {
    std::lock_guard lock(data_.lock);
    IdList ids;
    data_.notes.forEachNidElementSummary([&](const NoteSection::Summary& s) {
        if (s.deleted && s.hasNid) {
            ids.push_back(s.nid);
        }
    });
    if (ids.empty()) {
        return std::nullopt;
    }
    return ids;
}

int NoteCatalogue::countByPriority(unsigned priority) {
    std::lock_guard lock(data_.lock);
    int count = 0;
    data_.notes.forEachSummary([&](const NoteSection::Summary& s) {
        if (s.notDeleted && (priority > 2 || s.priority[priority])) {
            ++count;
        }
    });
    return count;
}

void NoteCatalogue::renumber() {
    std::lock_guard lock(data_.lock);
    data_.notes.renumber();
}

}  // namespace bp
