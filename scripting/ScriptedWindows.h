#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace bp {

// What the running copy's windows do when a script asks. Each takes a note that is there
// and outside the Recycle Bin; the caller has checked.
class IScriptedWindows {
public:
    virtual ~IScriptedWindows() = default;

    // False while the program starts, ends or runs a modal dialog: scripts are turned away then,
    // as hot keys are.
    virtual bool takesScripts() const = 0;
    // A new note with that title and text, shown without taking the focus: its nid, or none
    // when the limit of notes is reached.
    virtual std::optional<std::int32_t> createNote(const std::string& title,
                                                   const std::string& text, bool rich) = 0;
    virtual void showNote(std::int32_t nid) = 0;
    virtual void hideNote(std::int32_t nid) = 0;
    // Shown, in front of the other notes and given the focus.
    virtual void raiseNote(std::int32_t nid) = 0;
    virtual void moveNoteToBin(std::int32_t nid) = 0;
    // These open their dialog once the script's call has returned.
    virtual void openAlarmDialog(std::int32_t nid) = 0;
    virtual void showAllNotes() = 0;
    virtual void hideAllNotes() = 0;
    virtual void openNotesManager() = 0;
    virtual void openFind(const std::string& terms) = 0;
    // The ids handed out are stored: the database wants saving.
    virtual void idsStored() = 0;
};

}  // namespace bp
