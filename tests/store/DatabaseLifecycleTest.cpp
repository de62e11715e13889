#include "platform/fake/FakePlatform.h"
#include "store/NotesDatabase.h"
#include "store/SettingsByName.h"
#include "support/StoreFixture.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using bp::CNotesDatabase;
using bp::fake::FakePlatform;
using namespace bp::test;

namespace {

class DatabaseLifecycle : public ::testing::Test, public StoreFixture {
protected:
    DatabaseLifecycle() : StoreFixture(Open::ByTheTest) {}

    std::string databaseBytes() const { return readFile(db.DatabasePath()); }
    std::string defaultBytes() const { return sourceFile("tests/store/data/default-database.dat"); }
    // The default database with its text changed by edit.
    std::string defaultText() const { return defaultBytes().substr(4); }

    std::vector<std::string> errorTexts() {
        std::vector<std::string> texts;
        for (const bp::StoreProblem& box : db.TakeProblems()) {
            texts.push_back(box.caption + ": " + box.text);
        }
        return texts;
    }

    CNotesDatabase& db = store;
};

TEST_F(DatabaseLifecycle, FreshFolderGetsTheDefaultDatabaseExactly) {
    ASSERT_TRUE(db.OpenDatabase(0));
    EXPECT_EQ(databaseBytes(), defaultBytes());
    EXPECT_TRUE(db.TakeProblems().empty());
    EXPECT_EQ(db.ListNotes(1), (bp::IdList{1, 2, 3}));
    EXPECT_FALSE(bp::test::readFile(folder.file("~tmp.dat")).size());
    struct stat st {};
    ASSERT_EQ(stat(db.DatabasePath().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u) << "notes are private";
}

TEST_F(DatabaseLifecycle, OpenThenSaveIsByteIdentical) {
    writeFile(db.DatabasePath(), defaultBytes());
    ASSERT_TRUE(db.OpenDatabase(0));
    ASSERT_TRUE(db.SaveDatabase(""));
    EXPECT_EQ(databaseBytes(), defaultBytes());
    EXPECT_EQ(db.GetNoteAttribute(1, 2, "title"), "Regular Priority Note");
    EXPECT_EQ(bp::SettingsByName(db).GetSettingInt("autoSave"), 15);
}

TEST_F(DatabaseLifecycle, NotesAreRenumberedInDocumentOrder) {
    std::string text = defaultText();
    auto renumber = [&](const std::string& from, const std::string& to) {
        const std::string needle = "<note nid=|<|<|<|<|<" + from + ">";
        text.replace(text.find(needle), needle.size(), "<note nid=|<|<|<|<|<" + to + ">");
    };
    renumber("1", "5");
    renumber("2", "9");
    renumber("3", "2");
    writeFile(db.DatabasePath(), withLengthPrefix(text));
    ASSERT_TRUE(db.OpenDatabase(0));
    EXPECT_EQ(db.ListNotes(1), (bp::IdList{1, 2, 3}));
    EXPECT_EQ(db.GetNoteAttribute(1, 1, "title"), "Low Priority Note");
    EXPECT_EQ(db.GetNoteAttribute(1, 3, "title"), "High Priority Note");
}

struct DamageCase {
    const char* name;
    std::string bytes;
    const char* message;
};

std::vector<DamageCase> damageCases(const std::string& good) {
    const std::string text = good.substr(4);
    auto without = [&](const std::string& marker) {
        std::string t = text;
        t.erase(t.find(marker), marker.size());
        return withLengthPrefix(t);
    };
    return {
        {"empty file", "", "Incorrect Brightpost.dat"},
        {"shorter than the length", good.substr(0, 3), "Incorrect Brightpost.dat"},
        {"truncated", good.substr(0, good.size() / 2), "Incorrect Brightpost.dat"},
        {"negative length", withLengthPrefix(text, 0xFFFFFFF0u), "Incorrect Brightpost.dat"},
        {"byte before the root", withLengthPrefix(" " + text), "Incorrect Brightpost.dat"},
        {"wrong root", withLengthPrefix("<Other>\r\n" + text.substr(14)),
         "Incorrect Brightpost.dat"},
        {"random bytes", withLengthPrefix("\x01\xfe\x7f garbage \r\n<<>>"),
         "Incorrect Brightpost.dat"},
        {"no settings", without("\r\n<settings "), "Error 20. Error while reading Brightpost.dat."},
        {"no settings end", without("\r\n[]]]]]>>>>>\r\n</settings>"),
         "Error 21. Error while reading Brightpost.dat."},
        {"no notes", without("\r\n<notes>\r\n"), "Error 24. Error while reading Brightpost.dat."},
        {"no notes end", without("\r\n[]]]]]>>>>>\r\n</notes>"),
         "Error 23. Error while reading Brightpost.dat."},
        {"zero byte inside", withLengthPrefix(text.substr(0, 500) + std::string(1, '\0') + text),
         "Error 21. Error while reading Brightpost.dat."},
    };
}

TEST_F(DatabaseLifecycle, EveryDamageHasItsMessageInMode0AndNoneInMode10) {
    for (const DamageCase& c : damageCases(defaultBytes())) {
        for (int mode : {0, 10}) {
            SCOPED_TRACE(std::string(c.name) + " mode " + std::to_string(mode));
            db.TakeProblems();
            writeFile(db.DatabasePath(), c.bytes);
            EXPECT_FALSE(db.OpenDatabase(mode));
            if (mode == 0) {
                EXPECT_EQ(errorTexts(),
                          std::vector<std::string>{std::string("Error: ") + c.message});
            } else {
                EXPECT_TRUE(errorTexts().empty());
            }
            EXPECT_EQ(databaseBytes(), c.bytes) << "a damaged file is never overwritten";
        }
    }
}

TEST_F(DatabaseLifecycle, UnreadableFileShowsTheAccessMessageInEveryMode) {
    // A folder in the file's place cannot be opened as a file, even by root.
    ASSERT_EQ(mkdir(db.DatabasePath().c_str(), 0700), 0);
    const std::string access =
        "Error: You do not have access permissions to Brightpost.dat. Please contact your "
        "system administrator.";
    for (int mode : {0, 10}) {
        db.TakeProblems();
        EXPECT_FALSE(db.OpenDatabase(mode));
        EXPECT_EQ(errorTexts(), std::vector<std::string>{access});
    }
}

TEST_F(DatabaseLifecycle, FailedSaveLeavesTheDatabaseAndNamesThePathWithoutABox) {
    ASSERT_TRUE(db.OpenDatabase(0));
    const std::string before = databaseBytes();
    db.SetNoteAttribute(1, "title", "changed");
    // A folder where the temporary file must go makes its creation fail.
    ASSERT_EQ(mkdir(db.TemporaryPath().c_str(), 0700), 0);
    const CNotesDatabase::SaveOutcome saved = db.SaveDatabase("");
    EXPECT_FALSE(saved);
    EXPECT_EQ(saved.cause, 5);
    EXPECT_EQ(saved.failedPath, db.TemporaryPath());
    EXPECT_EQ(databaseBytes(), before);
    EXPECT_TRUE(db.TakeProblems().empty()) << "whoever asked for the save tells the user";
}

TEST_F(DatabaseLifecycle, SettingAndNoteReadsReportTheirFailurePoint) {
    ASSERT_TRUE(db.OpenDatabase(0));
    EXPECT_EQ(bp::SettingsByName(db).GetSettingInt("noSuchSetting"), 0);
    EXPECT_EQ(db.GetNoteInt(1, 99, "links"), 0);
    EXPECT_EQ(db.GetNoteInt(1, 1, "noSuchAttribute"), 0);
    EXPECT_EQ(db.GetNoteInt(0, 99, "links"), 0) << "the import buffer reads silently";
    EXPECT_EQ(errorTexts(), (std::vector<std::string>{"Error 3: Error while reading settings",
                                                      "Error 1: Error while reading notes",
                                                      "Error 3: Error while reading notes"}));
}

TEST_F(DatabaseLifecycle, BackupRotationKeepsBackupMaxManagedCopies) {
    ASSERT_TRUE(db.OpenDatabase(0));
    bp::SettingsByName(db).SetSettingAttribute("backupMax", "3");
    for (const char* stamp : {"20240101000000", "20240102000000", "20240103000000"}) {
        writeFile(folder.file(std::string("copy_Brightpost_") + stamp + ".dat"), "old");
    }
    writeFile(folder.file("copy_other.dat"), "not ours");
    writeFile(folder.file("temp-0123456789.dat"), "scratch");
    writeFile(folder.file("temp-keep.dat"), "not 19 characters");
    fakes.clock.set(2024, 1, 4, 12, 30, 45);
    ASSERT_TRUE(db.BackupDatabase());

    auto names = db.ListDatabaseFiles(folder.path(), 1);
    for (auto& n : names) {
        n = std::filesystem::path(n).filename().string();
    }
    EXPECT_EQ(names, (std::vector<std::string>{
                         "copy_Brightpost_20240102000000.dat", "copy_Brightpost_20240103000000.dat",
                         "copy_Brightpost_20240104123045.dat", "copy_other.dat"}));
    EXPECT_EQ(readFile(folder.file("copy_Brightpost_20240104123045.dat")), databaseBytes());
    EXPECT_FALSE(std::filesystem::exists(folder.file("temp-0123456789.dat")));
    EXPECT_TRUE(std::filesystem::exists(folder.file("temp-keep.dat")));
}

TEST_F(DatabaseLifecycle, NumbersOutOfTheirRangeAreUsedAsItsNearerEndAndStayAsStored) {
    ASSERT_TRUE(db.OpenDatabase(0));
    struct Case {
        const char* name;
        const char* stored;
        int used;
    };
    const Case cases[] = {
        {"backupMax", "-1", 1},        {"backupMax", "0", 1},     {"backupMax", "7", 7},
        {"backupMax", "100000", 9999}, {"deleteMax", "-5", 1},    {"autoSave", "0", 5},
        {"autoSave", "3000000", 999},  {"autoLockTime", "-1", 0}, {"autoLockTime", "9999999", 3600},
        {"minWidth", "10", 150},       {"minHeight", "-3", 72},   {"priority", "-7", -7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + "=" + c.stored);
        bp::SettingsByName(db).SetSettingAttribute(c.name, c.stored);
        EXPECT_EQ(bp::SettingsByName(db).GetSettingInt(c.name), c.used);
        EXPECT_EQ(bp::SettingsByName(db).GetSettingString(c.name), c.stored);
    }
}

TEST_F(DatabaseLifecycle, ABackupAlwaysKeepsTheOneJustTaken) {
    struct Case {
        const char* backupMax;
        const char* otherBackup;
    };
    // A count below one from a hand-written record; a name from a clock that was set ahead.
    for (const Case& c : {Case{"-1", "copy_Brightpost_20240101000000.dat"},
                          Case{"1", "copy_Brightpost_29991231000000.dat"}}) {
        SCOPED_TRACE(c.otherBackup);
        std::filesystem::remove_all(folder.path());
        std::filesystem::create_directory(folder.path());
        ASSERT_TRUE(db.OpenDatabase(0));
        bp::SettingsByName(db).SetSettingAttribute("backupMax", c.backupMax);
        writeFile(folder.file(c.otherBackup), "old");
        fakes.clock.set(2024, 1, 4, 12, 30, 45);
        ASSERT_TRUE(db.BackupDatabase());
        EXPECT_EQ(readFile(folder.file("copy_Brightpost_20240104123045.dat")), databaseBytes());
        EXPECT_EQ(db.ListDatabaseFiles(folder.path(), 1).size(), 1u);
    }
}

}  // namespace
