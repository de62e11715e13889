// Saves the database in the given folder over and over, changing it every time, until it is
// killed. The crash-safety test kills it at random moments. With "changes" it saves as the
// program does after edits: from a thread of its own, through SaveChanges.
#include "platform/fake/FakePlatform.h"
#include "store/NotesDatabase.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3 || (argc == 3 && std::strcmp(argv[2], "changes") != 0)) {
        std::fprintf(stderr, "usage: save_loop FOLDER [changes]\n");
        return 2;
    }
    const bool asAfterEdits = argc == 3;
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
        bool saved = false;
        if (asAfterEdits) {
            // A fresh start may find its first change already in the file: not a failure.
            std::thread([&] { saved = !store.SaveChanges().failed(); }).join();
        } else {
            saved = store.SaveDatabase("").written;
        }
        if (!saved) {
            return 1;
        }
        if (round == 0) {
            std::fputs("saving\n", stdout);
            std::fflush(stdout);
        }
    }
}
