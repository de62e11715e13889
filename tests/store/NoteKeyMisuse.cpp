// Compiled once per CASE by the tests: CASE 0 must compile, every other CASE must not, since a
// note attribute of the wrong name or type is to be caught by the compiler.
#include "store/NotesDatabase.h"

#include <string>

int useKeys(bp::CNotesDatabase& db) {
#if CASE == 0
    const std::string title = db.GetNote(bp::kLiveSource, 1, bp::note::title);
    db.SetNote(1, 4000000000u, bp::note::remindTime);
    db.SetNote(1, title, bp::note::title);
    return db.GetNote(bp::kLiveSource, 1, bp::note::xPos);
#elif CASE == 1
    constexpr bp::IntKey misspelt{"xpos"};
    return db.GetNote(bp::kLiveSource, 1, misspelt);
#elif CASE == 2
    constexpr bp::IntKey wrongType{"title"};
    return db.GetNote(bp::kLiveSource, 1, wrongType);
#elif CASE == 3
    return db.SetNote(1, std::string("12"), bp::note::xPos);
#elif CASE == 4
    const std::string text = db.GetNote(bp::kLiveSource, 1, bp::note::xPos);
    return static_cast<int>(text.size());
#endif
}
