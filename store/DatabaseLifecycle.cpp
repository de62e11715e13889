#include "DatabaseLifecycle.h"

#include "DefaultDatabase.h"
#include "StoreMessages.h"
#include "platform/Clock.h"

namespace bp {

bool DatabaseLifecycle::open(int mode) {
    const std::string& databasePath = paths_.databasePath();
    createdOnOpen_ = false;
    if (!dbfile::fileExists(databasePath)) {
        createdOnOpen_ = static_cast<bool>(createDefault(""));
        return createdOnOpen_;
    }
    std::lock_guard lock(data_.lock);
    dbfile::ReadResult read = dbfile::readDatabaseText(databasePath);
    if (read.status == dbfile::ReadStatus::CannotOpen ||
        read.status == dbfile::ReadStatus::Missing) {
        data_.problems.report({"Error", kDatabaseAccessMessage});
        return false;
    }
    if (read.status == dbfile::ReadStatus::NotAFile) {
        data_.problems.report({"Error", notAFileMessage(databasePath, "read")});
        return false;
    }
    const bool report = mode != kOpenSilent;
    if (read.status == dbfile::ReadStatus::BadLength) {
        // A length that does not fit the file leaves no text that could be trusted.
        if (report) {
            data_.problems.report({"Error", "Incorrect Brightpost.dat"});
        }
        return false;
    }
    DatabaseSections split;
    const SplitFailure failure = SplitDatabaseText(read.text, false, split);
    if (failure != SplitFailure::None) {
        if (report) {
            static constexpr const char* kMessages[] = {
                "",
                "Incorrect Brightpost.dat",
                "Error 20. Error while reading Brightpost.dat.",
                "Error 21. Error while reading Brightpost.dat.",
                "Error 24. Error while reading Brightpost.dat.",
                "Error 23. Error while reading Brightpost.dat.",
            };
            data_.problems.report({"Error", kMessages[static_cast<int>(failure)]});
        }
        return false;
    }
    data_.settings = std::move(split.settings);
    data_.notes.assign(std::move(split.notes));
    {
        std::lock_guard save(saveLock_);
        wholeText_ = std::move(read.text);
        knownDatabase_ = read.identity;
        wholeTextSaved_ = true;
    }
    data_.notes.renumber();
    return true;
}

DatabaseSaveOutcome DatabaseLifecycle::createDefault(const std::string& path) {
    std::string text = BuildDefaultDatabaseText();
    DatabaseSections split;
    const SplitFailure failure = SplitDatabaseText(text, false, split);
    if (failure != SplitFailure::None) {
        static constexpr const char* kMessages[] = {
            "",
            "Error 0. Error in Brightpost.dat",
            "Error 27. Error while reading Brightpost.dat",
            "Error 28. Error while reading Brightpost.dat",
            "Error 31. Error while reading Brightpost.dat",
            "Error 30. Error while reading Brightpost.dat",
        };
        data_.problems.report({"Error", kMessages[static_cast<int>(failure)]});
        return {};
    }
    {
        std::lock_guard lock(data_.lock);
        data_.settings = std::move(split.settings);
        data_.notes.assign(std::move(split.notes));
        std::lock_guard save(saveLock_);
        wholeText_ = std::move(text);
    }
    return save(path);
}

DatabaseSections DatabaseLifecycle::copySections() const {
    std::lock_guard lock(data_.lock);
    return {data_.settings, data_.notes.text()};
}

DatabaseSaveOutcome DatabaseLifecycle::save(const std::string& path) {
    const DatabaseSections sections = copySections();
    std::lock_guard save(saveLock_);
    std::string text = ComposeDatabaseText(sections.settings, sections.notes);
    // Only the save lock is held from here on: taking the data lock again could deadlock
    // against an export, which holds the data lock while it waits for this save to finish.
    wholeText_ = std::move(text);
    wholeTextSaved_ = false;
    DatabaseSaveOutcome outcome;
    const std::string& databasePath = paths_.databasePath();
    const std::string target = path.empty() ? paths_.temporaryPath() : path;
    if (const int cause = writeFile(wholeText_, target); cause != 0) {
        outcome.cause = cause;
        outcome.failedPath = target;
        return outcome;
    }
    if (path.empty()) {
        const bool kept = keepReplacedDatabase(outcome.keptAs);
        const bool moved = kept && dbfile::replaceFile(target, databasePath);
        if (moved) {
            knownDatabase_ = dbfile::identify(databasePath);
        }
        wholeTextSaved_ = moved;
        outcome.written = moved;
        outcome.keepFailed = !kept;
        if (!moved) {
            // The temporary file was complete, but the database is unchanged.
            outcome.cause = 1;
            outcome.failedPath = databasePath;
        }
        return outcome;
    }
    if (target == databasePath) {
        knownDatabase_ = dbfile::identify(databasePath);
        wholeTextSaved_ = true;
    }
    outcome.written = true;
    return outcome;
}

DatabaseSaveOutcome DatabaseLifecycle::exportTo(const std::string& path) {
    std::lock_guard lock(data_.lock);
    return save(path);
}

bool DatabaseLifecycle::keepReplacedDatabase(std::string& keptAs) {
    const std::string& databasePath = paths_.databasePath();
    const std::optional<dbfile::FileIdentity> onDisk = dbfile::identify(databasePath);
    if (!onDisk || onDisk == knownDatabase_) {
        return true;
    }
    const std::string stem = paths_.dataFolder() + "/external_" + clock_->formatNow("%Y%m%d%H%M%S");
    keptAs = stem + ".dat";
    for (int n = 2; dbfile::identify(keptAs); ++n) {
        keptAs = stem + "-" + std::to_string(n) + ".dat";
    }
    if (!dbfile::moveAside(databasePath, keptAs)) {
        return false;
    }
    dbfile::makePrivate(keptAs);
    return true;
}

int DatabaseLifecycle::writeFile(const std::string& text, const std::string& path) {
    const std::string& dataFolder = paths_.dataFolder();
    const bool inDataFolder =
        dbfile::fileName(path).size() + dataFolder.size() + 1 == path.size() &&
        path.starts_with(dataFolder + "/");
    // A failed write removes what it left half-done; the database is never written in place.
    return path == paths_.temporaryPath() ? dbfile::createDatabaseText(path, text)
                                          : dbfile::writeDatabaseText(path, text, inDataFolder);
}

DatabaseSaveOutcome DatabaseLifecycle::saveChanges() {
    {
        const DatabaseSections sections = copySections();
        std::lock_guard save(saveLock_);
        if (wholeTextSaved_ &&
            ComposeDatabaseText(sections.settings, sections.notes) == wholeText_) {
            return {};
        }
    }
    return save("");
}

void DatabaseLifecycle::requestSave(SaveUrgency urgency) {
    std::function<void(SaveUrgency)> handler;
    {
        std::lock_guard lock(data_.lock);
        handler = saveHandler_;
    }
    if (handler) {
        handler(urgency);
    } else {
        save("");
    }
}

void DatabaseLifecycle::setSaveHandler(std::function<void(SaveUrgency)> handler) {
    std::lock_guard lock(data_.lock);
    saveHandler_ = std::move(handler);
}

std::string DatabaseLifecycle::wholeText() const {
    std::lock_guard save(saveLock_);
    return wholeText_;
}

}  // namespace bp
