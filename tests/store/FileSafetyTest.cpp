#include "platform/DataFolder.h"
#include "platform/fake/FakePlatform.h"
#include "store/DatabaseFile.h"
#include "store/NotesDatabase.h"
#include "support/NamedPipe.h"
#include "support/ReadOnlyFolder.h"
#include "support/StoreFixture.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>

using bp::CNotesDatabase;
using bp::fake::FakePlatform;
using namespace bp::test;

namespace {

mode_t modeOf(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 ? st.st_mode : 0;
}

// Another user's uid, for folders made by the test; only root may hand them over.
constexpr uid_t kOtherUser = 65534;

struct FolderCase {
    const char* name;
    std::function<std::string(const TempFolder&)> make;  // returns the folder to check
    bool usable;
    const char* fix;  // a piece of the message when refused
};

class PrivateFolder : public ::testing::TestWithParam<FolderCase> {};

TEST_P(PrivateFolder, OnlyAFolderOfTheUserThatNobodyElseCanChangeIsUsed) {
    const FolderCase& c = GetParam();
    TempFolder base;
    const std::string folder = c.make(base);
    if (folder.empty()) {
        GTEST_SKIP() << "handing a folder to another user needs root";
    }
    const bp::FolderCheck check = bp::preparePrivateFolder(folder);
    EXPECT_EQ(check.usable, c.usable) << check.problem;
    if (c.usable) {
        EXPECT_TRUE(check.problem.empty());
        EXPECT_EQ(modeOf(std::filesystem::canonical(folder)) & 07777, 0700u);
    } else {
        EXPECT_NE(check.problem.find("\"" + folder + "\""), std::string::npos) << check.problem;
        EXPECT_NE(check.problem.find(c.fix), std::string::npos) << check.problem;
    }
}

std::string madeWithMode(const TempFolder& base, mode_t mode) {
    const std::string folder = base.file("notes");
    ::mkdir(folder.c_str(), 0700);
    ::chmod(folder.c_str(), mode);
    return folder;
}

std::string ownedByAnotherUser(const TempFolder& base) {
    const std::string folder = madeWithMode(base, 0700);
    return ::chown(folder.c_str(), kOtherUser, kOtherUser) == 0 ? folder : std::string();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PrivateFolder,
    ::testing::Values(FolderCase{"MissingIsCreatedPrivate",
                                 [](const TempFolder& base) { return base.file("a/b/Brightpost"); },
                                 true, ""},
                      FolderCase{"ReadableByOthersIsTightened",
                                 [](const TempFolder& base) { return madeWithMode(base, 0755); },
                                 true, ""},
                      FolderCase{"WritableByOthers",
                                 [](const TempFolder& base) { return madeWithMode(base, 0777); },
                                 false, "chmod 700"},
                      FolderCase{"WritableByGroup",
                                 [](const TempFolder& base) { return madeWithMode(base, 0770); },
                                 false, "chmod 700"},
                      FolderCase{"SharedLikeTmp",
                                 [](const TempFolder& base) { return madeWithMode(base, 01777); },
                                 false, "chmod 700"},
                      FolderCase{"OwnedByAnotherUser", ownedByAnotherUser, false, "--data-dir"},
                      FolderCase{"ALinkToAFolderOfAnotherUser",
                                 [](const TempFolder& base) {
                                     const std::string target = ownedByAnotherUser(base);
                                     if (target.empty()) {
                                         return target;
                                     }
                                     const std::string link = base.file("link");
                                     std::filesystem::create_directory_symlink(target, link);
                                     return link;
                                 },
                                 false, "--data-dir"},
                      FolderCase{"AFile",
                                 [](const TempFolder& base) {
                                     writeFile(base.file("file"), "x");
                                     return base.file("file");
                                 },
                                 false, "--data-dir"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReadOnlyFolder, AFolderOfTheUserIsUsedAsItIsAndOneOthersCanChangeIsStillRefused) {
    TempFolder base;
    const std::string mine = madeWithMode(base, 0755);
    const std::string shared = base.file("shared");
    ::mkdir(shared.c_str(), 0700);
    ::chmod(shared.c_str(), 0770);
    const int code = withFolderReadOnly(base.path(), [&] {
        const bp::FolderCheck own = bp::preparePrivateFolder(mine);
        if (!own.usable) {
            std::fprintf(stderr, "%s\n", own.problem.c_str());
        }
        return own.usable && (modeOf(mine) & 07777) == 0755 &&
               !bp::preparePrivateFolder(shared).usable;
    });
    if (code == kCannotMakeReadOnly) {
        GTEST_SKIP() << "a read-only bind mount needs root";
    }
    EXPECT_EQ(code, 0);
}

class PlantedLinks : public ::testing::Test {
protected:
    PlantedLinks() : db(fakes.platform()) {
        db.SetDataFolder(folder.path());
        writeFile(victim.file("precious"), "precious");
        fakes.clock.set(2024, 3, 1, 9, 15, 0);
    }

    void plant(const std::string& name) {
        std::filesystem::create_symlink(victim.file("precious"), folder.file(name));
    }

    TempFolder folder;
    TempFolder victim;  // stands for a file of the user outside the data folder
    FakePlatform fakes;
    CNotesDatabase db;
};

TEST_F(PlantedLinks, ASaveNeverWritesThroughALinkAtTheTemporaryName) {
    ASSERT_TRUE(db.OpenDatabase(0));
    plant("~tmp.dat");
    ASSERT_TRUE(db.SaveDatabase(""));
    EXPECT_EQ(readFile(victim.file("precious")), "precious");
    EXPECT_TRUE(S_ISREG(modeOf(db.DatabasePath())));
    EXPECT_EQ(readFile(db.DatabasePath()), sourceFile("tests/store/data/default-database.dat"));
}

TEST_F(PlantedLinks, ABackupNeverWritesThroughALinkAtItsName) {
    ASSERT_TRUE(db.OpenDatabase(0));
    plant("copy_Brightpost_20240301091500.dat");
    db.BackupDatabase();
    EXPECT_EQ(readFile(victim.file("precious")), "precious");
}

class ReplacedDatabase : public ::testing::Test, public StoreFixture {
protected:
    ReplacedDatabase() : StoreFixture(Open::ByTheTest) { fakes.clock.set(2024, 3, 1, 9, 15, 0); }

    std::string theirs() const {
        std::string text = sourceFile("tests/store/data/default-database.dat").substr(4);
        text.replace(text.find("Low Priority Note"), 17, "their note");
        return withLengthPrefix(text);
    }

    std::string external() const { return folder.file("external_20240301091500.dat"); }

    CNotesDatabase& db = store;
};

TEST_F(ReplacedDatabase, TheOtherFileIsKeptAndNamedOnce) {
    const std::vector<std::pair<const char*, std::function<void(const std::string&)>>> ways = {
        {"renamed over it",
         [this](const std::string& path) {
             writeFile(folder.file("sync.tmp"), theirs());
             std::rename(folder.file("sync.tmp").c_str(), path.c_str());
         }},
        {"written in place", [this](const std::string& path) { writeFile(path, theirs()); }},
    };
    for (const auto& [way, replace] : ways) {
        SCOPED_TRACE(way);
        std::filesystem::remove_all(folder.path());
        std::filesystem::create_directory(folder.path());
        db.TakeProblems();
        ASSERT_TRUE(db.OpenDatabase(0));
        db.SetNoteString(1, "my note", "title");
        replace(db.DatabasePath());

        const CNotesDatabase::SaveOutcome saved = db.SaveDatabase("");
        ASSERT_TRUE(saved);
        EXPECT_EQ(readFile(external()), theirs());
        EXPECT_EQ(modeOf(external()) & 0777, 0600u);
        EXPECT_NE(readFile(db.DatabasePath()).find("my note"), std::string::npos);
        EXPECT_EQ(saved.keptAs, external());
        EXPECT_FALSE(saved.keepFailed);

        // Our own save is the one known from now on.
        const CNotesDatabase::SaveOutcome next = db.SaveDatabase("");
        ASSERT_TRUE(next);
        EXPECT_EQ(next.keptAs, "");
        EXPECT_EQ(readFile(external()), theirs());
        EXPECT_TRUE(db.TakeProblems().empty()) << "the saver tells the user";
    }
}

TEST_F(ReplacedDatabase, AKeptFileIsNeverOverwrittenByTheNextOne) {
    ASSERT_TRUE(db.OpenDatabase(0));
    writeFile(db.DatabasePath(), theirs());
    ASSERT_TRUE(db.SaveDatabase(""));
    writeFile(db.DatabasePath(), withLengthPrefix("second"));
    ASSERT_TRUE(db.SaveDatabase(""));  // within the same second
    EXPECT_EQ(readFile(external()), theirs());
    EXPECT_EQ(readFile(folder.file("external_20240301091500-2.dat")), withLengthPrefix("second"));
}

TEST_F(ReplacedDatabase, SavesOfAnUntouchedOrRemovedDatabaseKeepNothing) {
    ASSERT_TRUE(db.OpenDatabase(0));
    ASSERT_TRUE(db.SaveDatabase(""));
    std::filesystem::remove(db.DatabasePath());
    ASSERT_TRUE(db.SaveDatabase(""));
    EXPECT_TRUE(db.TakeProblems().empty());
    EXPECT_EQ(bp::dbfile::listMatching(folder.path(), "external_", ".dat").size(), 0u);
}

// A named pipe in place of a file holds open(2) until its other end is opened, which may be
// never: every file the store reads or writes from outside is refused instead, and kept.
class NamedPipes : public ::testing::Test, public StoreFixture {
protected:
    NamedPipes() : StoreFixture(Open::ByTheTest) {}

    CNotesDatabase& db = store;
};

TEST_F(NamedPipes, NoFileOperationWaitsForOneAndNoneRemovesIt) {
    const std::string pipe = folder.file("pipe.dat");
    const std::string regular = folder.file("regular.dat");
    writeFile(regular, withLengthPrefix("text"));
    const std::vector<std::pair<const char*, std::function<bool()>>> refusals = {
        {"read",
         [&] {
             return bp::dbfile::readDatabaseText(pipe).status == bp::dbfile::ReadStatus::NotAFile;
         }},
        {"read whole", [&] { return !bp::dbfile::readRegularFile(pipe).has_value(); }},
        {"copied from", [&] { return !bp::dbfile::copyFile(pipe, folder.file("copy.dat")); }},
        {"copied to", [&] { return !bp::dbfile::copyFile(regular, pipe); }},
        {"exported to", [&] { return bp::dbfile::writeDatabaseText(pipe, "text", false) == 3; }},
    };
    for (const auto& [operation, refused] : refusals) {
        SCOPED_TRACE(operation);
        ASSERT_TRUE(makeNamedPipe(pipe));
        EXPECT_TRUE(withoutWaitingOn(pipe, refused));
        EXPECT_TRUE(isNamedPipe(pipe));
        std::filesystem::remove(pipe);
    }
    EXPECT_FALSE(std::filesystem::exists(folder.file("copy.dat")));
}

TEST_F(NamedPipes, OneAsTheDatabaseOrAnImportIsNamedToTheUserAndKept) {
    const std::string import = folder.file("import.dat");
    ASSERT_TRUE(makeNamedPipe(import));
    EXPECT_FALSE(withoutWaitingOn(import, [&] { return db.LoadImportFile(import).has_value(); }));
    ASSERT_TRUE(makeNamedPipe(db.DatabasePath()));
    for (const int mode : {0, 10}) {
        EXPECT_FALSE(withoutWaitingOn(db.DatabasePath(), [&] { return db.OpenDatabase(mode); }));
    }
    const std::vector<bp::StoreProblem> problems = db.TakeProblems();
    ASSERT_EQ(problems.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        const std::string& text = problems[i].text;
        EXPECT_NE(text.find("\"" + (i == 0 ? import : db.DatabasePath()) + "\" is not a file"),
                  std::string::npos)
            << text;
        EXPECT_NE(text.find("named pipe"), std::string::npos) << text;
    }
    EXPECT_TRUE(isNamedPipe(import));
    EXPECT_TRUE(isNamedPipe(db.DatabasePath()));
}

}  // namespace
