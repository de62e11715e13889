#pragma once

#include <optional>
#include <string>

namespace bp {

// Where the user's database lives: the override when given, else
// $XDG_DATA_HOME/Brightpost, else ~/.local/share/Brightpost. Returned without a trailing '/'.
std::string resolveDataFolder(const std::optional<std::string>& override);

// The outcome of making a folder ready for the program's own files.
struct FolderCheck {
    bool usable = false;
    std::string problem;  // for the user when not usable: names the folder and the fix
};

// Creates the folder (and its parents) when missing, private to the user (0700); tightens an
// existing folder of the user to 0700; refuses a folder that another user owns or that group
// or others may write to, because whoever can write there can plant files (a symlink as
// "~tmp.dat") that our saves would then write through. A folder of the user on a read-only
// file system is used as it is. A symlink to the folder is followed: the folder it leads to
// is the one checked.
FolderCheck preparePrivateFolder(const std::string& folder);

}  // namespace bp
