#pragma once

#include "platform/Clock.h"
#include "store/NotesDatabase.h"

#include <string>

namespace bp {

// Puts a usable database in place after the open found the file damaged: the damaged file
// is kept as "corrupted_<stamp>.dat" (when that fails it stays where it is and nothing is
// used instead), then the newest backup that opens is used, and only
// when none does is a new default database made.
class CDatabaseRecovery {
public:
    struct Outcome {
        bool usable = false;
        // What to tell the user: how the database was replaced, or why it was left alone.
        std::string message;
    };

    CDatabaseRecovery(CNotesDatabase& store, const IClock& clock) : store_(store), clock_(clock) {}

    Outcome Run();

private:
    CNotesDatabase& store_;
    const IClock& clock_;
};

}  // namespace bp
