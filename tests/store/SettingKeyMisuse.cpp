// Compiled once per CASE by the tests: CASE 0 must compile, every other CASE must not, since a
// setting of the wrong name or type, or named by a string outside the store, is to be caught
// by the compiler.
#include "store/NotesDatabase.h"

#include <string>

int useKeys(bp::CNotesDatabase& db) {
#if CASE == 0
    const std::string text = bp::setting::get(db, bp::setting::TitleText);
    bp::setting::set(db, bp::setting::hkNewNote, 4000000000u);
    bp::setting::set(db, bp::setting::TitleText, text);
    constexpr int lowest = bp::setting::autoSave.range().minimum;
    return bp::setting::get(db, bp::setting::autoSave) + lowest;
#elif CASE == 1
    constexpr bp::setting::Key<int> misspelt{"autosave"};
    return bp::setting::get(db, misspelt);
#elif CASE == 2
    constexpr bp::setting::Key<std::string> wrongType{"autoSave"};
    return static_cast<int>(bp::setting::get(db, wrongType).size());
#elif CASE == 3
    return db.GetSettingInt("autoSave");
#elif CASE == 4
    constexpr int lowest = bp::setting::move.range().minimum;
    return lowest;
#endif
}
