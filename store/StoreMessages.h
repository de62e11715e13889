#pragma once

#include <string>
#include <string_view>

namespace bp {

inline constexpr const char* kDatabaseAccessMessage =
    "You do not have access permissions to Brightpost.dat. Please contact your system "
    "administrator.";

// Whatever it is, it is not ours to delete.
inline std::string notAFileMessage(const std::string& path, std::string_view done) {
    return "\"" + path + "\" is not a file but a named pipe, a device or a socket, so no notes " +
           "can be " + std::string(done) + " from it. Brightpost does not delete it.";
}

}  // namespace bp
