#include "DatabaseBackups.h"

#include "DatabaseFile.h"
#include "Settings.h"
#include "platform/Clock.h"

#include <algorithm>

namespace bp {

namespace {

bool isManagedBackup(std::string_view path) {
    const std::string_view name = dbfile::fileName(path);
    return name.size() >= 22 && name.substr(0, 16) == "copy_Brightpost_";
}

}  // namespace

std::vector<std::string> DatabaseBackups::list(const std::string& folder, int kind) const {
    if (kind == 2) {
        return dbfile::listMatching(folder, "temp-", ".dat");
    }
    return dbfile::listMatching(folder, "copy_", ".dat");
}

bool DatabaseBackups::backup() {
    const std::string& dataFolder = paths_.dataFolder();
    const std::string stamp = clock_->formatNow("%Y%m%d%H%M%S");
    const std::string backup = dataFolder + "/copy_Brightpost_" + stamp + ".dat";
    if (!dbfile::copyFile(paths_.databasePath(), backup)) {
        return false;
    }
    std::vector<std::string> entries = list(dataFolder, 1);
    const long long n = static_cast<long long>(entries.size());
    const long long max = settings_.readInt(setting::backupMax.name);
    if (n > max) {
        long long m = std::count_if(entries.begin(), entries.end(),
                                    [](const std::string& p) { return isManagedBackup(p); });
        for (long long round = 0; round < n && m > max && !entries.empty(); ++round) {
            auto oldest = std::min_element(entries.begin(), entries.end());
            // A name from a clock set ahead sorts after it, but the backup just taken stays.
            if (*oldest != backup && isManagedBackup(*oldest) && dbfile::fileExists(*oldest)) {
                dbfile::removeFile(*oldest);
                --m;
            }
            entries.erase(oldest);
        }
    }
    for (const std::string& temp : list(dataFolder, 2)) {
        const std::string_view name = dbfile::fileName(temp);
        if (name.size() == 19 && name.starts_with("temp-") && dbfile::fileExists(temp)) {
            dbfile::removeFile(temp);
        }
    }
    return true;
}

}  // namespace bp
