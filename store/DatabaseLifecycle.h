#pragma once

#include "DatabaseFile.h"
#include "DatabasePaths.h"
#include "DatabaseText.h"
#include "StoreData.h"
#include "StoreTypes.h"

#include <functional>
#include <mutex>
#include <optional>
#include <string>

namespace bp {

class IClock;

// What a save did. The store shows nothing: whoever asked for the save tells the user.
struct DatabaseSaveOutcome {
    bool written = false;
    // Of a failure: as dbfile numbers a failed write, or 1 when the written file could not
    // take the database's place; 0 when nothing failed (a skipped save included).
    int cause = 0;
    // The file a failed write was meant for.
    std::string failedPath;
    // Another program had put its own file in place of the database: it was kept under
    // this name, or, with keepFailed, could not be kept and so was not saved over.
    std::string keptAs;
    bool keepFailed = false;
    bool failed() const { return cause != 0; }
    explicit operator bool() const { return written; }
};

// The database file's life: opening it (or making the default one), and every save to disk,
// with the text as last read or saved. A save composes its text under the data lock, then
// writes holding only the save lock, so the notes are not held up by the disk.
class DatabaseLifecycle {
public:
    DatabaseLifecycle(StoreData& data, const DatabasePaths& paths, IClock* clock)
        : data_(data), paths_(paths), clock_(clock) {}

    // mode: an OpenMode.
    bool open(int mode);
    // The last open found no file and made the default database: the program's first start
    // on this data folder.
    bool createdOnOpen() const { return createdOnOpen_; }
    DatabaseSaveOutcome createDefault(const std::string& path);
    // An empty path saves to the database path through "~tmp.dat" and a rename.
    DatabaseSaveOutcome save(const std::string& path);
    // Writes the notes and settings to path; the database file itself is left to the caller.
    DatabaseSaveOutcome exportTo(const std::string& path);
    // 0, or the cause of the failed write (nothing half-written is left behind).
    int writeFile(const std::string& text, const std::string& path);
    // The save of save(""), skipped when the file already holds the text. Safe on any thread.
    DatabaseSaveOutcome saveChanges();

    // Soon leaves the moment to the program's saver, Now returns once the file holds what
    // the store holds. Without a saver (tools, tests) both save here and now, silently.
    void requestSave(SaveUrgency urgency);
    void setSaveHandler(std::function<void(SaveUrgency)> handler);

    std::string wholeText() const;

private:
    // Taken under the data lock, so that a save composes a consistent text without holding it.
    DatabaseSections copySections() const;
    // Before a save replaces the database file: when the file there is no longer the one this
    // copy read or last saved (another program put its own in place), it is kept under a name
    // of its own, given in keptAs (left empty when there was nothing to keep). False when the
    // file could not be kept, so it must not be replaced.
    bool keepReplacedDatabase(std::string& keptAs);

    StoreData& data_;
    const DatabasePaths& paths_;
    IClock* clock_;

    mutable std::mutex saveLock_;
    // Written by saves and opens, under saveLock_: a save holds saveLock_ without the data lock.
    std::string wholeText_;
    bool createdOnOpen_ = false;
    // The database file as this copy last read or saved it.
    std::optional<dbfile::FileIdentity> knownDatabase_;
    // Whether wholeText_ is what the database file holds.
    bool wholeTextSaved_ = false;
    // Under the data lock.
    std::function<void(SaveUrgency)> saveHandler_;
};

}  // namespace bp
