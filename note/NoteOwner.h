#pragma once

#include <cstdint>

namespace bp {

class CNote;

// The main window as notes see it. A call acts before it returns, except those marked "later":
// they return at once and act once the event loop runs again, after whatever the caller does
// next. Nothing acts once the program is exiting.
class INoteOwner {
public:
    virtual ~INoteOwner() = default;

    // A note that is not open is reported to the user by the calls that take its nid.
    virtual void createNote() = 0;
    virtual void duplicateNote(std::int32_t nid) = 0;
    // Into the Recycle Bin or for good, as the settings say; the note's window goes.
    virtual void deleteNote(std::int32_t nid) = 0;
    // The same for the note that asks itself; nothing of it may be used once the call returns
    // with the note closing.
    virtual void deleteNoteWindow(const CNote& note) = 0;
    // Out of the Recycle Bin, opened again.
    virtual void restoreNote(std::int32_t nid) = 0;
    // Shown and brought to the front.
    virtual void showNote(std::int32_t nid) = 0;
    virtual void hideNote(std::int32_t nid) = 0;
    // Into the printer the Notes Manager chose for all the notes it prints.
    virtual void printNote(std::int32_t nid) = 0;
    virtual void openNoteMenu(std::int32_t nid) = 0;
    // Later: the note's record changed, so the lists show it afresh.
    virtual void noteChanged(std::int32_t nid) = 0;

    // The tray icon's tip and picture follow the notes shown and hidden.
    virtual void updateTrayTip() = 0;
    virtual void updateTrayTipLater() = 0;
    virtual void showTrayMenu() = 0;

    // Later: the note reading aloud now stops, so that another can read.
    virtual void stopOtherReading() = 0;
    // The note that read aloud is done.
    virtual void readingEnded() = 0;
};

}  // namespace bp
