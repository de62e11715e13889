#pragma once

#include <optional>
#include <string>

namespace bp {

// Where the user's database lives: the override when given, else
// $XDG_DATA_HOME/Brightpost, else ~/.local/share/Brightpost. Returned without a trailing '/'.
std::string resolveDataFolder(const std::optional<std::string>& override);

// Creates the folder (and its parents) when missing; a folder we create is private (0700).
bool ensureDataFolder(const std::string& folder);

}  // namespace bp
