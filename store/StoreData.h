#pragma once

#include "NoteSection.h"
#include "StoreProblems.h"
#include "StoreTypes.h"

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

namespace bp {

// The live text every part of the store works on: the settings record, the notes section and
// the import buffer, the recursive data lock over them, and where the parts send what they
// could not do and what they changed. Whoever changes the text holds the lock.
struct StoreData {
    mutable std::recursive_mutex lock;
    std::string settings;
    NoteSection notes;
    NoteSection importNotes;
    StoreProblems problems;
    std::function<void()> changeListener;

    NoteSection& sectionOf(int source) { return source == kImportSource ? importNotes : notes; }
    // The lock a read of source needs: the import buffer belongs to the thread importing and
    // is read without it.
    std::unique_lock<std::recursive_mutex> lockFor(int source) const;

    // Called with the lock held: the listener only takes note.
    void notifyChange();
    void reportError(LookupFailure point, const char* text);
    void reportError(const char* caption, const char* text);
    // Finds a live note's element for a change, with the lock held; reports a missing one.
    bool locateToChange(std::int32_t nid, NoteSection::Location& at, std::string_view& element,
                        const char* operation);
};

// A stored Int: "-1", "4294967295" and "-1junk" all read as -1; no digits read as 0.
int parseStoredInt(std::string_view text);

}  // namespace bp
