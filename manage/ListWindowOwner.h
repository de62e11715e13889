#pragma once

#include <cstdint>

namespace bp {

// The main window as the Notes Manager, the Recycle Bin and Find see it. Each call acts before
// it returns; a note that is not open is reported to the user by the calls that take its nid.
class IListWindowOwner {
public:
    virtual ~IListWindowOwner() = default;

    virtual void createNote() = 0;
    // Shown and brought to the front.
    virtual void showNote(std::int32_t nid) = 0;
    virtual void hideNote(std::int32_t nid) = 0;
    // Into the Recycle Bin or for good, as the settings say; the note's window goes.
    virtual void deleteNote(std::int32_t nid) = 0;
    // Out of the Recycle Bin, opened again.
    virtual void restoreNote(std::int32_t nid) = 0;
    // Into the printer the Notes Manager chose for all the notes it prints.
    virtual void printNote(std::int32_t nid) = 0;
    virtual void openNoteMenu(std::int32_t nid) = 0;
    virtual void showTrayMenu() = 0;
};

}  // namespace bp
