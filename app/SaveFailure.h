#pragma once

#include <string>

namespace bp {

// What the user reads when the saves that follow edits start failing, given the data folder
// and the cause number of the failed write.
std::string saveFailureMessage(const std::string& dataFolder, int cause);

}  // namespace bp
