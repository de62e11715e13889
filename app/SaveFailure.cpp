#include "SaveFailure.h"

#include "ProductInfo.h"
#include "platform/Messages.h"
#include "platform/UserMessages.h"

#include <sys/statvfs.h>
#include <unistd.h>

namespace bp {

namespace {

std::string reasonFor(int cause) {
    switch (cause) {
        case 5:
            return "the folder cannot be written to";
        case 13:
            return "the disk is full";
        case 4:
            return "too many files are open";
        case 10:
            return "the disk reported an error";
        default:
            return "error " + std::to_string(cause);
    }
}

}  // namespace

std::string saveFailureMessage(const std::string& dataFolder, int cause) {
    return std::string(kProductName) + " cannot save your notes in \"" + dataFolder +
           "\": " + reasonFor(cause) +
           ".\nWhat was saved before is safe. Your latest changes stay in the open notes and "
           "are saved by themselves as soon as saving works again.";
}

int saveCauseOfFolder(const std::string& dataFolder) {
    // access() answers for the file system too: a read-only mount refuses even root.
    if (::access(dataFolder.c_str(), W_OK) != 0) {
        return 5;
    }
    struct statvfs space {};
    if (::statvfs(dataFolder.c_str(), &space) == 0 && space.f_bavail == 0) {
        return 13;
    }
    return 0;
}

std::string writeFailureMessage(const std::string& path, int cause) {
    return "Could not open file \"" + path + "\", open error " + std::to_string(cause);
}

std::string replacedDatabaseMessage(const std::string& keptAs, bool kept) {
    if (kept) {
        return "Another program replaced Brightpost.dat. Its version has been kept as \"" + keptAs +
               "\", and your notes have been saved in Brightpost.dat.";
    }
    return "Another program replaced Brightpost.dat, and its version could not be kept (the "
           "disk may be full). Your notes were not saved over it.";
}

void SaveReports::failed(const CNotesDatabase::SaveOutcome& outcome) {
    const std::string text = outcome.keepFailed
                                 ? replacedDatabaseMessage(outcome.keptAs, false)
                                 : saveFailureMessage(store_.DataFolder(), outcome.cause);
    messages_.showMessage("Error", "", text, res::ICON_WARNING);
}

void SaveReports::kept(const std::string& keptAs) {
    messages_.showMessage("Warning", "", replacedDatabaseMessage(keptAs, true), res::ICON_WARNING);
}

void SaveReports::writeFailed(const CNotesDatabase::SaveOutcome& outcome) {
    messages_.showMessage("Error", "", writeFailureMessage(outcome.failedPath, outcome.cause),
                          res::ICON_WARNING);
}

}  // namespace bp
