#include "DatabaseRecovery.h"

#include "SaveFailure.h"
#include "store/DatabaseFile.h"

#include <algorithm>
#include <vector>

namespace bp {

namespace {

// Names sort by age only when they are the backups this program writes.
bool isRecoveryCandidate(const std::string& path) {
    const std::string_view name = dbfile::fileName(path);
    return name.size() >= 22 && name.substr(0, 16) == "copy_Brightpost_";
}

}  // namespace

CDatabaseRecovery::Outcome CDatabaseRecovery::Run() {
    const std::string& folder = store_.DataFolder();
    const std::string& database = store_.DatabasePath();
    const std::string stamp = clock_.formatNow("%Y%m%d%H%M%S");
    // The damaged file may be the only copy of the notes: it leaves its place only when it is
    // safe under its new name, and otherwise nothing is written over it.
    if (dbfile::fileExists(database) &&
        !dbfile::moveAside(database, folder + "/corrupted_" + stamp + ".dat")) {
        return {false,
                "Brightpost.dat is damaged, and no copy of it could be kept (the disk may "
                "be full). It has been left as it is in \"" +
                    folder +
                    "\". Make room on the disk, or copy the file to a safe place, and "
                    "start Brightpost again."};
    }

    std::vector<std::string> candidates = store_.ListDatabaseFiles(folder, 1);
    std::erase_if(candidates, [](const std::string& p) { return !isRecoveryCandidate(p); });

    std::string restoredFrom;
    while (!candidates.empty()) {
        auto newest = std::max_element(candidates.begin(), candidates.end());
        const std::string candidate = *newest;
        candidates.erase(newest);
        if (!dbfile::fileExists(candidate)) {
            continue;
        }
        if (dbfile::copyFile(candidate, database) && store_.OpenDatabase(kOpenSilent)) {
            restoredFrom = candidate;
            break;
        }
        dbfile::removeFile(database);
    }

    if (!restoredFrom.empty()) {
        return {true, "Your notes database has been restored from " + restoredFrom};
    }
    // Through the temporary file, so a crash now cannot leave half a database behind.
    if (const CNotesDatabase::SaveOutcome created = store_.CreateDefaultDatabase(""); !created) {
        return {false, created.failed() ? writeFailureMessage(created.failedPath, created.cause)
                                        : std::string()};
    }
    return {true, "Unable to restore notes database. New database was created."};
}

}  // namespace bp
