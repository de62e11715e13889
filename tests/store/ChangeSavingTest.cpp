#include "platform/fake/FakePlatform.h"
#include "store/NotesDatabase.h"
#include "store/SettingsByName.h"
#include "support/StoreFixture.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <functional>

using bp::CNotesDatabase;
using bp::fake::FakePlatform;
using namespace bp::test;

namespace {

class ChangeSaving : public ::testing::Test, public StoreFixture {
protected:
    ChangeSaving() {
        db.SetChangeListener([this] { ++changes; });
    }

    // Identifies the file by inode and change time: every save renames a new file in.
    std::pair<ino_t, long> fileStamp() const {
        struct stat st {};
        stat(db.DatabasePath().c_str(), &st);
        return {st.st_ino, st.st_ctim.tv_nsec};
    }

    CNotesDatabase& db = store;
    int changes = 0;
};

TEST_F(ChangeSaving, OnlyRealChangesAreAnnounced) {
    struct Case {
        const char* what;
        std::function<void(CNotesDatabase&)> operation;
        int announced;
    };
    const Case cases[] = {
        {"same title", [](auto& d) { d.SetNoteString(1, "Low Priority Note", "title"); }, 0},
        {"new title", [](auto& d) { d.SetNoteString(1, "Shopping", "title"); }, 1},
        {"same position", [](auto& d) { d.SetNoteInt(2, 616, "xPos"); }, 0},
        {"moved", [](auto& d) { d.SetNoteInt(2, 617, "xPos"); }, 1},
        {"typed body, then the same again",
         [](auto& d) {
             d.SetNoteBody(3, "{\\rtf1 x}");
             d.SetNoteBody(3, "{\\rtf1 x}");
         },
         1},
        {"same setting", [](auto& d) { bp::SettingsByName(d).SetSettingInt(15, "autoSave"); }, 0},
        {"setting", [](auto& d) { bp::SettingsByName(d).SetSettingInt(5, "autoSave"); }, 1},
        {"new note", [](auto& d) { d.NewNote(); }, 1},
        {"deleted note", [](auto& d) { d.DeleteNote(2); }, 1},
        {"attachment", [](auto& d) { d.AttachFileToNote(1, 0, "/tmp/a.txt"); }, 1},
        {"missing note", [](auto& d) { d.SetNoteInt(99, 1, "xPos"); }, 0},
    };
    for (const Case& c : cases) {
        changes = 0;
        c.operation(db);
        EXPECT_EQ(changes, c.announced) << c.what;
    }
}

TEST_F(ChangeSaving, WritesOnlyWhatTheFileDoesNotHoldYet) {
    const auto opened = fileStamp();
    EXPECT_FALSE(db.SaveChanges().written) << "nothing changed since the open";
    EXPECT_EQ(fileStamp(), opened);

    db.SetNoteString(2, "marker", "title");
    const auto saved = db.SaveChanges();
    EXPECT_TRUE(saved.written);
    EXPECT_FALSE(saved.failed());
    EXPECT_NE(readFile(db.DatabasePath()).find("marker"), std::string::npos);

    const auto afterSave = fileStamp();
    EXPECT_FALSE(db.SaveChanges().written);
    EXPECT_EQ(fileStamp(), afterSave);

    // A change undone before the save leaves the file as it is.
    db.SetNoteString(2, "other", "title");
    db.SetNoteString(2, "marker", "title");
    EXPECT_FALSE(db.SaveChanges().written);
}

TEST_F(ChangeSaving, FailedSaveIsSilentKeepsTheFileAndIsRetried) {
    db.SetNoteString(1, "saved", "title");
    ASSERT_TRUE(db.SaveChanges().written);
    const std::string before = readFile(db.DatabasePath());

    // The temporary file cannot be created while a folder holds its name.
    std::filesystem::create_directory(folder.file("~tmp.dat"));
    db.SetNoteString(1, "typed later", "title");
    const auto failed = db.SaveChanges();
    EXPECT_FALSE(failed.written);
    EXPECT_TRUE(failed.failed());
    EXPECT_TRUE(db.TakeProblems().empty()) << "the caller tells the user";
    EXPECT_EQ(readFile(db.DatabasePath()), before);

    // The explicit save of the same text does not count as done either.
    EXPECT_FALSE(db.SaveDatabase(""));
    db.TakeProblems();

    std::filesystem::remove(folder.file("~tmp.dat"));
    const auto resumed = db.SaveChanges();
    EXPECT_TRUE(resumed.written) << "nothing changed since, yet the file does not hold it";
    EXPECT_NE(readFile(db.DatabasePath()).find("typed later"), std::string::npos);
}

}  // namespace
