#pragma once

#include <string>
#include <string_view>

namespace bp {

// The two sections a database text is made of, each from its start marker up to its end.
struct DatabaseSections {
    std::string settings;
    std::string notes;
};

// Where splitting a database text stopped, in the order the open and import messages list.
enum class SplitFailure { None, Root, SettingsStart, SettingsEnd, NotesStart, NotesEnd };

// allowImportRoot: a file being imported may also open with the import root.
SplitFailure SplitDatabaseText(std::string_view text, bool allowImportRoot, DatabaseSections& out);
std::string ComposeDatabaseText(const std::string& settings, const std::string& notes);

}  // namespace bp
