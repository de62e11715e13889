#include "platform/fake/FakePlatform.h"
#include "store/NotesDatabase.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <random>

namespace {

// Starts the save loop and returns once it has saved at least once.
pid_t startSaving(const std::string& folder, const char* mode) {
    int out[2];
    if (pipe(out) != 0) {
        return -1;
    }
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        execl(BP_SAVE_LOOP, BP_SAVE_LOOP, folder.c_str(), mode, static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    char line[16];
    [[maybe_unused]] ssize_t n = read(out[0], line, sizeof line);
    close(out[0]);
    return pid;
}

// Explicit saves, and the saves that follow edits (a thread of their own, SaveChanges).
class CrashSafety : public ::testing::TestWithParam<const char*> {};

TEST_P(CrashSafety, KilledWhileSavingAlwaysLeavesADatabaseThatOpens) {
    bp::test::TempFolder folder;
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> delayMicroseconds(0, 40000);
    for (int round = 0; round < 25; ++round) {
        const pid_t pid = startSaving(folder.path(), GetParam());
        ASSERT_GT(pid, 0);
        usleep(static_cast<useconds_t>(delayMicroseconds(random)));
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the save loop stopped by itself in round " << round;

        bp::fake::FakePlatform fakes;
        bp::CNotesDatabase store(fakes.platform());
        store.SetDataFolder(folder.path());
        ASSERT_TRUE(store.OpenDatabase(0)) << "round " << round;
        EXPECT_TRUE(store.TakeProblems().empty());
        EXPECT_EQ(store.ListNotes(1).size(), 3u);
    }
}

INSTANTIATE_TEST_SUITE_P(Saves, CrashSafety, ::testing::Values(nullptr, "changes"),
                         [](const auto& info) {
                             return std::string(info.param ? "AfterEdits" : "Explicit");
                         });

}  // namespace
