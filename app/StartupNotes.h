#pragma once

#include "OpenNotes.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace bp {

// Opens the notes of the last session at start-up with start, one after another, and asks
// stop after each whether the session is ending (an empty stop never says so). False when it
// stopped before the last note.
bool openStartupNotes(const std::vector<std::int32_t>& nids,
                      const std::function<void(std::int32_t, OpenNotes::StartFlags)>& start,
                      const std::function<bool()>& stop);

}  // namespace bp
