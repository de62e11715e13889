#pragma once

#include "platform/Platform.h"

#include <optional>
#include <string>

namespace bp {

class CNotesDatabase;

// Makes the database usable at start-up: the private data folder, the file opened, a damaged
// one recovered, each failure told to the user. The session may end while a box about it is
// open; the damaged file is then left as it is, for the next start to recover.
class DatabaseOpening {
public:
    enum class Result { Failed, Ready, SessionEnded };

    // exiting turns true when the session ends; busy is held while the recovery runs.
    DatabaseOpening(Platform platform, CNotesDatabase& store, const bool& exiting, bool& busy)
        : platform_(platform), store_(store), exiting_(exiting), busy_(busy) {}

    // Ready whenever a usable database is in place, even if the session has ended meanwhile.
    Result open(const std::optional<std::string>& dataDirOverride);

private:
    // True when a usable database is in place afterwards.
    bool recover();

    Platform platform_;
    CNotesDatabase& store_;
    const bool& exiting_;
    bool& busy_;
};

}  // namespace bp
