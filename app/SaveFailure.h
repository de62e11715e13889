#pragma once

#include <string>

namespace bp {

// What the user reads when the saves that follow edits start failing, given the data folder
// and the cause number of the failed write.
std::string saveFailureMessage(const std::string& dataFolder, int cause);

// Whether saving in the data folder can work at all: 0, or the cause a save would fail with
// (5 for a folder that cannot be written, such as a read-only file system; 13 for a full disk).
int saveCauseOfFolder(const std::string& dataFolder);

}  // namespace bp
