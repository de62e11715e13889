// Saves the database in the given folder over and over, changing it every time, until it is
// killed. The crash-safety test kills it at random moments.
#include "platform/fake/FakePlatform.h"
#include "store/NotesDatabase.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: save_loop FOLDER\n");
        return 2;
    }
    bp::fake::FakePlatform fakes;
    bp::CNotesDatabase store(fakes.platform());
    store.SetDataFolder(argv[1]);
    if (!store.OpenDatabase(0)) {
        return 1;
    }
    std::string body(200000, 'x');
    for (unsigned round = 0;; ++round) {
        store.SetNoteAttribute(1, "title", "round " + std::to_string(round));
        store.SetNoteAttribute(2, "title", body.substr(0, (round * 7919) % body.size()));
        if (!store.SaveDatabase("")) {
            return 1;
        }
        if (round == 0) {
            std::fputs("saving\n", stdout);
            std::fflush(stdout);
        }
    }
}
