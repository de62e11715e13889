#pragma once

#include "NoteRecords.h"
#include "SettingsRecord.h"
#include "StoreData.h"
#include "StoreTypes.h"

#include <cstdint>
#include <optional>

namespace bp {

class IClock;
class IDesktop;

// Which notes there are: a new note, a note deleted for good, the Recycle Bin, and the
// listings and counts over the notes section.
class NoteCatalogue {
public:
    NoteCatalogue(StoreData& data, SettingsRecord& settings, NoteRecords& records, IClock* clock,
                  IDesktop* desktop)
        : data_(data), settings_(settings), records_(records), clock_(clock), desktop_(desktop) {}

    // Appends a note with the defaults of the settings and a position on the desktop.
    std::int32_t newNote();
    bool deleteNote(std::int32_t nid);
    // flag 1 moves the note into the Recycle Bin (purging the oldest beyond deleteMax first),
    // 0 restores it; both stamp deleteTime.
    void setDeleted(std::int32_t nid, int flag);
    IdList list(int source);
    std::optional<IdList> listDeleted();
    // Notes outside the Recycle Bin with that priority; any priority above 2 counts them all.
    int countByPriority(unsigned priority);
    void renumber();

private:
    StoreData& data_;
    SettingsRecord& settings_;
    NoteRecords& records_;
    IClock* clock_;
    IDesktop* desktop_;
};

}  // namespace bp
