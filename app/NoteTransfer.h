#pragma once

#include "platform/Platform.h"

#include <cstdint>
#include <functional>
#include <string>

namespace bp {

class CNotesDatabase;

// Copies notes into new records: a live note into its duplicate, the notes of another
// database file into this one, and this database out into a file. It writes records only;
// the caller opens the windows of the notes that came in.
class NoteTransfer {
public:
    NoteTransfer(Platform platform, CNotesDatabase& store);

    // A new note with the source's attributes, body and attachments; its id.
    std::int32_t duplicate(std::int32_t source);

    // The file the user picks, completed with the database extension; empty when cancelled.
    std::string chooseImportFile() const;
    std::string chooseExportFile() const;

    // Brings in every note of the file, each fitted onto the desktop and handed to imported
    // at once; stops after a note when stop says so. False when the file could not be read,
    // which the store has already told the user.
    bool importFile(const std::string& path, const std::function<void(std::int32_t)>& imported,
                    const std::function<bool()>& stop);
    void exportTo(const std::string& path);

private:
    std::int32_t importNote(std::int32_t source);
    // The body and the attachment records of a note, copied into another (new) note.
    void copyBodyAndAttachments(int source, std::int32_t from, std::int32_t to);

    Platform platform_;
    CNotesDatabase& store_;
};

}  // namespace bp
