#pragma once

#include "store/NotesDatabase.h"

#include <string>

namespace bp {

class IUserMessages;

// What the user reads when the saves that follow edits start failing, given the data folder
// and the cause number of the failed write.
std::string saveFailureMessage(const std::string& dataFolder, int cause);

// Whether saving in the data folder can work at all: 0, or the cause a save would fail with
// (5 for a folder that cannot be written, such as a read-only file system; 13 for a full disk).
int saveCauseOfFolder(const std::string& dataFolder);

// A file the program writes from the database (an export, a new database) could not be made.
std::string writeFailureMessage(const std::string& path, int cause);

// Another program had put its own file in place of the database: kept is whether its file was
// kept under keptAs (and ours saved) or could not be (and ours was not saved over it).
std::string replacedDatabaseMessage(const std::string& keptAs, bool kept);

// Tells the user what went wrong with saves: the saver's boxes and the one of a file written
// from the database. The store itself shows nothing.
class SaveReports {
public:
    SaveReports(IUserMessages& messages, const CNotesDatabase& store)
        : messages_(messages), store_(store) {}

    // Saving has started to fail (said once until a save works again).
    void failed(const CNotesDatabase::SaveOutcome& outcome);
    // Another program's file was kept beside the database; said every time it happens.
    void kept(const std::string& keptAs);
    // A file made from the database could not be written.
    void writeFailed(const CNotesDatabase::SaveOutcome& outcome);

private:
    IUserMessages& messages_;
    const CNotesDatabase& store_;
};

}  // namespace bp
