#pragma once

#include "DatabasePaths.h"
#include "SettingsRecord.h"

#include <string>
#include <vector>

namespace bp {

class IClock;

// The copies of the database kept beside it in the data folder.
class DatabaseBackups {
public:
    DatabaseBackups(const DatabasePaths& paths, SettingsRecord& settings, IClock* clock)
        : paths_(paths), settings_(settings), clock_(clock) {}

    // kind 2 lists "temp-*.dat", any other kind "copy_*.dat" (full paths).
    std::vector<std::string> list(const std::string& folder, int kind) const;
    // Copies the database under a stamped name, then removes the oldest of its own copies
    // beyond backupMax and the leftover temporary files.
    bool backup();

private:
    const DatabasePaths& paths_;
    SettingsRecord& settings_;
    IClock* clock_;
};

}  // namespace bp
