// Any bytes as an import file: a list of notes or one of the import messages.
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    bp::fake::FakePlatform fakes;
    bp::CNotesDatabase db(fakes.platform());
    db.SetDataFolder(bp::fuzz::folder());
    const std::string path = bp::fuzz::folder() + "/import.dat";
    bp::fuzz::writeBytes(path, data, size);
    const std::optional<bp::IdList> ids = db.LoadImportFile(path);
    if (!ids) {
        if (db.TakeProblems().size() != 1) {
            std::abort();
        }
        return 0;
    }
    for (std::int32_t nid : *ids) {
        bp::fuzz::readEverything(db, 0, nid);
    }
    return 0;
}
