// Note threads read and write while the shell saves and exports: every operation must see a
// whole database, and a save must never wait on a lock an export holds (or the other way).

#include "platform/fake/FakePlatform.h"
#include "store/NotesDatabase.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace bp::test;

namespace {

TEST(Concurrency, ReadersWritersAndSavesRunTogether) {
    TempFolder folder;
    bp::fake::FakePlatform fakes;
    bp::CNotesDatabase db(fakes.platform());
    db.SetDataFolder(folder.path());
    ASSERT_TRUE(db.OpenDatabase(0));
    for (int i = 0; i < 20; ++i) {
        db.SetNoteBody(db.NewNote(), std::string(2000, 'x'));
    }

    constexpr int kRounds = 300;
    std::atomic<bool> wrong{false};
    std::vector<std::thread> threads;
    for (int r = 0; r < 2; ++r) {
        threads.emplace_back([&, r] {
            for (int i = 0; i < kRounds; ++i) {
                const std::int32_t nid = (i + r) % 23 + 1;
                if (db.GetNoteInt(1, nid, "isTitle") != 1) {
                    wrong = true;
                }
                std::string body;
                db.GetNoteBody(1, nid, body);
                if (db.ListNotes(1).size() != 23u || db.CountNotesByPriority(3) != 23) {
                    wrong = true;
                }
            }
        });
    }
    for (int w = 0; w < 2; ++w) {
        threads.emplace_back([&, w] {
            for (int i = 0; i < kRounds; ++i) {
                const std::int32_t nid = (i * 7 + w) % 23 + 1;
                db.SetNoteInt(nid, i, "xPos");
                db.SetNoteBody(nid, std::string(static_cast<std::size_t>(100 + i), 'a' + w));
                const std::int32_t fid = db.AttachFileToNote(nid, 0, "/f" + std::to_string(i));
                if (fid > 0) {
                    db.DetachFileFromNote(nid, fid);
                }
            }
        });
    }
    threads.emplace_back([&] {
        for (int i = 0; i < 20; ++i) {
            if (!db.SaveDatabase("")) {
                wrong = true;
            }
        }
    });
    threads.emplace_back([&] {
        for (int i = 0; i < 10; ++i) {
            if (!db.ExportDatabase(folder.file("export.dat"))) {
                wrong = true;
            }
            db.WholeText();
        }
    });
    for (std::thread& t : threads) {
        t.join();
    }
    EXPECT_FALSE(wrong);
    EXPECT_TRUE(db.TakeProblems().empty());
    ASSERT_TRUE(db.SaveDatabase(""));
    ASSERT_TRUE(db.OpenDatabase(0));
    EXPECT_EQ(db.ListNotes(1).size(), 23u);
}

}  // namespace
