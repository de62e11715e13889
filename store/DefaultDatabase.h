#pragma once

#include "NoteAttributes.h"

#include <array>
#include <string>
#include <string_view>

namespace bp {

struct NamedValue {
    std::string_view name;
    std::string_view value;
};

// The settings of a new database, in the order they are written.
extern const std::array<NamedValue, 51> kDefaultSettings;

// The text of a new database: the default settings and three sample notes.
std::string BuildDefaultDatabaseText();

}  // namespace bp
