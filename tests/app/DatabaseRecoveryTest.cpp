#include "app/DatabaseRecovery.h"
#include "platform/fake/FakePlatform.h"
#include "support/NamedPipe.h"
#include "support/StoreFixture.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <unistd.h>

#include <filesystem>

using namespace bp;
using namespace bp::test;

namespace {

class Recovery : public ::testing::Test, public StoreFixture {
protected:
    Recovery() : StoreFixture(Open::ByTheTest) { fakes.clock.set(2024, 3, 1, 9, 15, 0); }

    std::string goodDatabase(const std::string& title) {
        std::string text = sourceFile("tests/store/data/default-database.dat").substr(4);
        const std::string from = "Low Priority Note";
        text.replace(text.find(from), from.size(), title);
        return withLengthPrefix(text);
    }

    CDatabaseRecovery::Outcome recover() {
        writeFile(store.DatabasePath(), "damaged");
        return CDatabaseRecovery(store, fakes.clock).Run();
    }

    std::string lowNoteTitle() { return store.GetNoteAttribute(1, 1, "title"); }
};

TEST_F(Recovery, UsesTheNewestBackupAndKeepsTheDamagedFile) {
    writeFile(folder.file("copy_Brightpost_20240101120000.dat"), goodDatabase("older"));
    writeFile(folder.file("copy_Brightpost_20240102120000.dat"), goodDatabase("newer"));
    const auto outcome = recover();
    ASSERT_TRUE(outcome.usable);
    EXPECT_EQ(outcome.message, "Your notes database has been restored from " +
                                   folder.file("copy_Brightpost_20240102120000.dat"));
    EXPECT_EQ(lowNoteTitle(), "newer");
    EXPECT_EQ(readFile(folder.file("corrupted_20240301091500.dat")), "damaged");
    EXPECT_EQ(readFile(store.DatabasePath()), goodDatabase("newer"));
    EXPECT_TRUE(fakes.messages.shown.empty()) << "backups are tried silently";
}

TEST_F(Recovery, FallsBackToTheOlderBackupWhenTheNewerIsDamagedToo) {
    writeFile(folder.file("copy_Brightpost_20240101120000.dat"), goodDatabase("older"));
    writeFile(folder.file("copy_Brightpost_20240102120000.dat"),
              withLengthPrefix("<Brightpost>\r\n"));
    const auto outcome = recover();
    ASSERT_TRUE(outcome.usable);
    EXPECT_EQ(outcome.message, "Your notes database has been restored from " +
                                   folder.file("copy_Brightpost_20240101120000.dat"));
    EXPECT_EQ(lowNoteTitle(), "older");
    EXPECT_TRUE(std::filesystem::exists(folder.file("copy_Brightpost_20240102120000.dat")))
        << "a damaged backup is left where it is";
}

TEST_F(Recovery, NamedPipesAreKeptButNeverWaitedForOrUsed) {
    writeFile(folder.file("copy_Brightpost_20240101120000.dat"), goodDatabase("older"));
    const std::string newest = folder.file("copy_Brightpost_20240102120000.dat");
    ASSERT_TRUE(makeNamedPipe(newest));
    ASSERT_TRUE(makeNamedPipe(store.DatabasePath()));
    const auto outcome =
        withoutWaitingOn(newest, [this] { return CDatabaseRecovery(store, fakes.clock).Run(); });
    ASSERT_TRUE(outcome.usable);
    EXPECT_EQ(lowNoteTitle(), "older");
    EXPECT_TRUE(isNamedPipe(folder.file("corrupted_20240301091500.dat")));
    EXPECT_TRUE(isNamedPipe(newest));
}

TEST_F(Recovery, NeverUsesFilesThatAreNotItsOwnBackups) {
    // Both sort after the real backups, so only the name rules keep them out.
    writeFile(folder.file("copy_zzz.dat"), goodDatabase("wrong prefix"));
    writeFile(folder.file("copy_Brightpost_.dat"), goodDatabase("too short"));
    writeFile(folder.file("copy_brightpost_20990101000000.dat"), goodDatabase("wrong case"));
    const auto outcome = recover();
    ASSERT_TRUE(outcome.usable);
    EXPECT_EQ(outcome.message, "Unable to restore notes database. New database was created.");
    EXPECT_EQ(readFile(store.DatabasePath()), sourceFile("tests/store/data/default-database.dat"));
    EXPECT_EQ(lowNoteTitle(), "Low Priority Note");
}

TEST_F(Recovery, ADamagedFileThatCannotBeKeptIsLeftAloneAndReported) {
    // Neither a rename nor a copy can take the name of a folder.
    std::filesystem::create_directory(folder.file("corrupted_20240301091500.dat"));
    writeFile(folder.file("copy_Brightpost_20240101120000.dat"), goodDatabase("older"));
    const auto outcome = recover();
    EXPECT_FALSE(outcome.usable);
    EXPECT_NE(outcome.message.find("\"" + folder.path() + "\""), std::string::npos)
        << outcome.message;
    EXPECT_EQ(readFile(store.DatabasePath()), "damaged") << "nothing is written over it";
    EXPECT_FALSE(std::filesystem::exists(folder.file("~tmp.dat")));
}

// A small filesystem of its own, filled to the last byte by the test.
class FullDisk : public Recovery {
protected:
    void SetUp() override {
        mountPoint = folder.file("disk");
        std::filesystem::create_directory(mountPoint);
        if (geteuid() != 0 ||
            ::mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=1m,mode=0700") != 0) {
            GTEST_SKIP() << "mounting a tmpfs needs root";
        }
        mounted = true;
        store.SetDataFolder(mountPoint);
    }
    void TearDown() override {
        if (mounted) {
            ::umount(mountPoint.c_str());
        }
    }

    void fill() {
        std::string block(4096, 'x');
        FILE* filler = std::fopen((mountPoint + "/filler").c_str(), "wb");
        ASSERT_NE(filler, nullptr);
        while (std::fwrite(block.data(), 1, block.size(), filler) == block.size() &&
               std::fflush(filler) == 0) {
        }
        std::fclose(filler);
    }

    std::string mountPoint;
    bool mounted = false;
};

TEST_F(FullDisk, TheDamagedFileIsKeptWholeAndNeverReplaced) {
    std::string damaged = withLengthPrefix(std::string(600 * 1024, 'n'));
    writeFile(store.DatabasePath(), damaged);
    fill();
    const auto outcome = CDatabaseRecovery(store, fakes.clock).Run();
    EXPECT_FALSE(outcome.usable) << "no room for a new database";
    EXPECT_EQ(readFile(mountPoint + "/corrupted_20240301091500.dat"), damaged);
    EXPECT_FALSE(std::filesystem::exists(store.DatabasePath()));
}

}  // namespace
