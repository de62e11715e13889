#pragma once

#include "AppOptions.h"

namespace bp {

// Runs a command for scripts ("brightpost list" and the like) and returns the exit status:
// the running copy of the data folder carries it out; while none runs, what only reads is
// answered from the database file, which is left as it is. Needs no display.
int runScriptVerb(const AppOptions& options, char* programName);

}  // namespace bp
