#include "SaveFailure.h"

#include "ProductInfo.h"

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

}  // namespace bp
