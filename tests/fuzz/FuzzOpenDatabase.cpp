// Any bytes as Brightpost.dat: a clean open or one of the open messages, then every read.
#include "FuzzSupport.h"
#include "store/SettingsByName.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    bp::fake::FakePlatform fakes;
    bp::CNotesDatabase db(fakes.platform());
    db.SetDataFolder(bp::fuzz::folder());
    bp::fuzz::writeBytes(db.DatabasePath(), data, size);
    if (!db.OpenDatabase(0)) {
        if (db.TakeProblems().size() != 1) {
            std::abort();  // a refused file says why, once
        }
        return 0;
    }
    const bp::IdList ids = db.ListNotes(1);
    for (std::int32_t nid : ids) {
        bp::fuzz::readEverything(db, 1, nid);
    }
    db.ListDeletedNotes();
    db.CountNotesByPriority(3);
    bp::SettingsByName(db).GetSettingInt("Width");
    bp::SettingsByName(db).GetSettingFont("titleFontType");
    return 0;
}
