#pragma once

#include "NoteAttributes.h"

#include <string>

namespace bp {

// The text of a new database: the settings of the table in Settings.h and three sample notes.
std::string BuildDefaultDatabaseText();

}  // namespace bp
