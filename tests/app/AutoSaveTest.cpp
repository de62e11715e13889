#include "app/AutoSaver.h"
#include "app/MainWindow.h"
#include "app/SaveFailure.h"
#include "app/SaveSchedule.h"
#include "note/EditTitle.h"
#include "note/Note.h"
#include "note/NoteBody.h"
#include "note/Title.h"
#include "output/NoteOutput.h"
#include "platform/fake/FakePlatform.h"
#include "support/StoreFixture.h"
#include "support/TestFiles.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>
#include <vector>

using namespace bp;
using namespace bp::test;

namespace {

TEST(SaveSchedule, SavesAfterAPauseButNoLaterThanTheLongestWait) {
    struct Case {
        const char* what;
        std::vector<std::int64_t> edits;
        std::int64_t due;
    };
    const Case cases[] = {
        {"one edit", {0}, 1500},
        {"a pause restarts the wait", {0, 1000}, 2500},
        {"steady typing", {0, 1000, 2000, 3000, 4000, 4900}, 5000},
        {"a later burst", {10000, 10300}, 11800},
    };
    for (const Case& c : cases) {
        SaveSchedule schedule;
        for (std::int64_t t : c.edits) {
            schedule.changed(t);
        }
        EXPECT_EQ(schedule.due(), c.due) << c.what;
    }

    SaveSchedule schedule;
    schedule.changed(0);
    schedule.changed(4000);
    schedule.saveStarted();
    EXPECT_FALSE(schedule.due());
    EXPECT_EQ(schedule.changed(4900), 6400) << "edits after a save wait afresh";
}

class AutoSaving : public ::testing::Test, public StoreFixture {
protected:
    std::unique_ptr<AutoSaver> makeSaver() {
        AutoSaver::Hooks hooks;
        hooks.storeEdits = [this] {
            if (!pendingTitle.empty()) {
                store.SetNoteString(1, pendingTitle, "title");
                pendingTitle.clear();
            }
        };
        hooks.reportFailure = [this](const CNotesDatabase::SaveOutcome& outcome) {
            reported.push_back(outcome.cause);
        };
        AutoSaver::Delays delays;
        delays.schedule = {50, 200};
        delays.retryMs = 100;
        auto saver = std::make_unique<AutoSaver>(store, std::move(hooks), delays);
        store.SetChangeListener([s = saver.get()] { s->changed(); });
        return saver;
    }

    bool fileHolds(const std::string& text) const {
        return readFile(store.DatabasePath()).find(text) != std::string::npos;
    }

    std::string pendingTitle;
    std::vector<int> reported;
};

TEST_F(AutoSaving, AnEditIsSavedWithWhatTheWindowsHoldAndIdleWritesNothing) {
    auto saver = makeSaver();
    pendingTitle = "held by a window";
    store.SetNoteInt(2, 700, "xPos");
    ASSERT_TRUE(QTest::qWaitFor([&] { return fileHolds("held by a window"); }, 5000));
    EXPECT_TRUE(fileHolds(" xPos=|<|<|<|<|<700"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return saver->savesWritten() == 1; }, 5000));

    // Nothing changed: the timer stays off and the file is left alone.
    const auto written = std::filesystem::last_write_time(store.DatabasePath());
    store.SetNoteInt(2, 700, "xPos");
    saver->changed();
    QTest::qWait(400);
    EXPECT_EQ(saver->savesWritten(), 1);
    EXPECT_EQ(std::filesystem::last_write_time(store.DatabasePath()), written);
    EXPECT_TRUE(fakes.messages.shown.empty());
}

TEST_F(AutoSaving, EditsFromAnotherThreadAreSavedToo) {
    auto saver = makeSaver();
    std::thread([this] { store.SetNoteString(3, "from a worker", "title"); }).join();
    ASSERT_TRUE(QTest::qWaitFor([&] { return fileHolds("from a worker"); }, 5000));
}

TEST_F(AutoSaving, AFailingSaveIsReportedOnceKeepsTheFileAndResumesByItself) {
    auto saver = makeSaver();
    store.SetNoteString(1, "safe", "title");
    ASSERT_TRUE(QTest::qWaitFor([&] { return fileHolds("safe"); }, 5000));
    const std::string before = readFile(store.DatabasePath());

    std::filesystem::create_directory(folder.file("~tmp.dat"));
    QSignalSpy ended(saver.get(), &AutoSaver::saveEnded);
    for (int i = 0; i < 5; ++i) {
        store.SetNoteString(1, "typing " + std::to_string(i), "title");
        QTest::qWait(120);
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return ended.size() >= 4; }, 5000));  // edits and retries
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_NE(reported[0], 0);
    EXPECT_TRUE(saver->failing());
    EXPECT_EQ(readFile(store.DatabasePath()), before);

    // Space returns: the retry saves without another edit.
    std::filesystem::remove(folder.file("~tmp.dat"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !saver->failing(); }, 5000));
    EXPECT_TRUE(fileHolds("typing 4"));
    EXPECT_EQ(reported.size(), 1u);
    EXPECT_TRUE(fakes.messages.shown.empty());
}

TEST(AutoSavingTray, TypingInABodyOrAnOpenTitleEditReachesTheFileWithoutACommand) {
    TempFolder folder;
    fake::FakePlatform fakes;
    CNotesDatabase store(fakes.platform());
    MainWindow tray(fakes.platform(), store, folder.path());
    ASSERT_EQ(tray.initialize(), 1);
    ASSERT_NE(tray.autoSaver(), nullptr);
    CNoteBody* body = tray.noteAt(1).body();
    body->setFocus();
    QTest::keyClicks(body, "marker42");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return readFile(store.DatabasePath()).find("marker42") != std::string::npos; },
        8000));

    CTitle* title = tray.noteAt(0).title();
    title->startEdit();
    title->editor()->lineEdit()->selectAll();
    QTest::keyClicks(title->editor()->lineEdit(), "renaming");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return readFile(store.DatabasePath()).find("title=|<|<|<|<|<renaming>") !=
                   std::string::npos;
        },
        8000));
    EXPECT_TRUE(title->isEditing());
    EXPECT_TRUE(fakes.messages.shown.empty());
}

TEST(AutoSavingTray, AFailingSaveNowFromANoteIsToldOnceAndLeavesTheFileWhole) {
    TempFolder folder;
    fake::FakePlatform fakes;
    CNotesDatabase store(fakes.platform());
    MainWindow tray(fakes.platform(), store, folder.path());
    ASSERT_EQ(tray.initialize(), 1);
    QCoreApplication::processEvents();
    ASSERT_TRUE(fakes.messages.shown.empty());
    const std::string before = readFile(store.DatabasePath());

    std::filesystem::create_directory(folder.file("~tmp.dat"));
    for (int i = 0; i < 3; ++i) {
        store.SetNoteString(1, "unsaved " + std::to_string(i), "title");
        // Saves at once before its (here cancelled) file dialog opens.
        CNoteOutput(tray.noteAt(0)).SaveAsText();
    }
    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    EXPECT_EQ(fakes.messages.shown[0],
              (fake::ShownBox{fake::ShownBox::Kind::Message, "Error", "",
                              saveFailureMessage(store.DataFolder(), 5), 205}));
    EXPECT_EQ(readFile(store.DatabasePath()), before);
    EXPECT_TRUE(tray.autoSaver()->failing());

    std::filesystem::remove(folder.file("~tmp.dat"));
    CNoteOutput(tray.noteAt(0)).SaveAsText();
    EXPECT_FALSE(tray.autoSaver()->failing());
    EXPECT_NE(readFile(store.DatabasePath()).find("unsaved 2"), std::string::npos);
    EXPECT_EQ(fakes.messages.shown.size(), 1u);
}

// The store shows nothing of its own; these are the boxes the program shows for it.
TEST(SaveReporting, AFailedWriteNamesItsFileAndAKeptDatabaseItsNewName) {
    TempFolder folder;
    fake::FakePlatform fakes;
    CNotesDatabase store(fakes.platform());
    store.SetDataFolder(folder.path());
    ASSERT_TRUE(store.OpenDatabase(0));
    SaveReports reports(fakes.messages, store);

    std::filesystem::create_directory(store.TemporaryPath());
    const CNotesDatabase::SaveOutcome failed = store.SaveDatabase("");
    reports.writeFailed(failed);
    std::filesystem::remove(store.TemporaryPath());

    writeFile(store.DatabasePath(), withLengthPrefix("another program's file"));
    const CNotesDatabase::SaveOutcome saved = store.SaveDatabase("");
    ASSERT_TRUE(saved);
    reports.kept(saved.keptAs);

    ASSERT_EQ(fakes.messages.shown.size(), 2u);
    EXPECT_EQ(fakes.messages.shown[0],
              (fake::ShownBox{fake::ShownBox::Kind::Message, "Error", "",
                              "Could not open file \"" + store.TemporaryPath() + "\", open error 5",
                              205}));
    EXPECT_EQ(fakes.messages.shown[1].caption, "Warning");
    EXPECT_NE(fakes.messages.shown[1].text.find("\"" + saved.keptAs + "\""), std::string::npos)
        << fakes.messages.shown[1].text;
}

}  // namespace
