#pragma once

#include <cstdint>
#include <functional>

namespace bp {

class CNotesDatabase;
class IClock;

// Adds the record of a new note: random colours when the settings ask for them, the time it
// was made and the default title. Its nid.
std::int32_t addNewNoteRecord(CNotesDatabase& store, const IClock& clock,
                              const std::function<unsigned()>& random);

}  // namespace bp
