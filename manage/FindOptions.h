#pragma once

#include <string>

namespace bp {

// The choices of the Find dialog and the option words the note search takes from them.
struct FindOptions {
    bool matchCase = false;
    bool wholeWord = false;
    bool inNotes = true;
    bool inTitles = true;
    bool allNotes = true;  // false: leave out minimized and locked notes

    // The words of the options that are on, in a fixed order, one blank between them.
    std::string words() const;
};

}  // namespace bp
