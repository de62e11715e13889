#pragma once

#include "note/Note.h"

#include <memory>

namespace bp {

// The host of one note window: it builds the note at once (every window lives on the GUI
// thread, so the creator never waits for it) and ends it once the event loop has returned.
class NoteHost {
public:
    NoteHost(Platform platform, CNotesDatabase& store, INoteOwner& owner, std::int32_t nid);
    ~NoteHost();

    // Builds the note from its record and shows it as the flags say.
    void buildNote();

    // Ends the note once the event loop it runs in now has returned; the host goes at once.
    void endLater();

    CNote& note() { return *note_; }
    const CNote& note() const { return *note_; }

    bool applyPriorityOnStart = false;
    bool startupBatch = false;
    bool started = false;
    bool lastOfStartupBatch = false;

private:
    CNotesDatabase& store_;
    INoteOwner& owner_;
    std::unique_ptr<CNote> note_;
};

}  // namespace bp
