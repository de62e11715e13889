#pragma once

#include <string>
#include <vector>

namespace bp {

// The desktop's file open and save dialogs. filter is one "Name (*.ext)" entry; a name typed
// without an extension gets defaultSuffix. Both return the chosen path, or the empty text
// when the user cancelled. They start in the folder of the last file chosen, or in the
// user's home.
class IFileDialogs {
public:
    virtual ~IFileDialogs() = default;
    virtual std::string openFile(const std::string& caption, const std::string& filter,
                                 const std::string& defaultSuffix) = 0;
    // The dialog itself asks before an existing file is replaced.
    virtual std::string saveFile(const std::string& caption, const std::string& filter,
                                 const std::string& defaultSuffix) = 0;
    // A save dialog offering several types ("Name (*.ext)" each), the first one chosen at
    // the start. type receives the chosen one's place in the list, from 1. The path comes
    // back as the user typed it: the caller completes the extension, and an existing file
    // is replaced without a question. proposedName (UTF-8, without a folder) fills the name
    // field at the start; empty leaves it empty.
    virtual std::string saveFileOfType(const std::string& caption,
                                       const std::vector<std::string>& filters, int& type,
                                       const std::string& proposedName) = 0;
    // A folder chooser; the chosen folder, or the empty text when the user cancelled.
    virtual std::string openFolder(const std::string& caption) = 0;
};

}  // namespace bp
