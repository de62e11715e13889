#pragma once

#include "platform/Clock.h"

#include <string>

namespace bp {

// The title of a new note: the current local time in one of the date formats, joined with
// the user's title text in the chosen order.
std::string composeDefaultTitle(const IClock& clock, const std::string& titleDefaults,
                                const std::string& titleText, int titleOrder);

}  // namespace bp
