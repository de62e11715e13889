#include "app/MainWindow.h"
#include "app/NoteDefaults.h"
#include "note/ColorSchemes.h"
#include "note/Note.h"
#include "note/NoteBody.h"
#include "note/Title.h"
#include "platform/Messages.h"
#include "platform/fake/FakePlatform.h"
#include "support/StoreFixture.h"
#include "support/TestFiles.h"

#include <QCoreApplication>

#include <deque>
#include <filesystem>

#include <gtest/gtest.h>

using namespace bp;
using namespace bp::test;
using bp::fake::ShownBox;

namespace {

class NoteRegistry : public ::testing::Test, public StoreFixture {
protected:
    NoteRegistry() : StoreFixture(Open::ByTheProgram) { fakes.clock.set(2024, 7, 8, 9, 10, 11); }

    // Opens the default database and lets a test change it before the program starts.
    void prepare() {
        store.SetDataFolder(folder.path());
        ASSERT_TRUE(store.OpenDatabase(0));
    }
    void start() {
        store.SaveDatabase("");
        tray = std::make_unique<MainWindow>(fakes.platform(), store, folder.path());
        ASSERT_EQ(tray->initialize(), 1);
        QCoreApplication::processEvents();
    }
    std::vector<std::string> messages() const {
        std::vector<std::string> texts;
        for (const ShownBox& box : fakes.messages.shown) {
            texts.push_back(box.caption + ": " + box.text);
        }
        return texts;
    }
    int stored(std::int32_t nid, const char* name) { return store.GetNoteInt(1, nid, name); }

    std::unique_ptr<MainWindow> tray;
};

TEST_F(NoteRegistry, StartUpShowsNotesByShowNotesMode) {
    struct Case {
        int mode;
        std::vector<bool> visible;
        std::vector<int> isClosedAfter;
    };
    // Note 2 was closed at the last exit.
    const Case cases[] = {
        {0, {true, false, true}, {0, 1, 0}},
        {1, {true, true, true}, {0, 0, 0}},
        {2, {false, false, false}, {0, 1, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        prepare();
        setting::set(store, setting::showNotesMode, c.mode);
        store.SetNoteInt(2, 1, "isClosed");
        start();
        ASSERT_EQ(tray->noteCount(), 3u);
        for (std::int32_t nid = 1; nid <= 3; ++nid) {
            EXPECT_EQ(tray->findNote(nid)->isVisible(), c.visible[nid - 1]) << nid;
            EXPECT_EQ(stored(nid, "isClosed"), c.isClosedAfter[nid - 1]) << nid;
        }
        tray.reset();
    }
}

TEST_F(NoteRegistry, StartUpAppliesEachNotesStacking) {
    prepare();
    start();
    using S = IWindowSystem::Stacking;
    EXPECT_EQ(fakes.windows.stackingOf(tray->findNote(1)), S::Bottom);
    EXPECT_EQ(fakes.windows.stackingOf(tray->findNote(2)), S::Normal);
    EXPECT_EQ(fakes.windows.stackingOf(tray->findNote(3)), S::Top);
    EXPECT_TRUE(fakes.windows.hiddenFromTaskbar[tray->findNote(1)]);
}

TEST_F(NoteRegistry, NewNoteGetsTimeTitleColoursAndTheFocus) {
    prepare();
    setting::set(store, setting::TitleDefaults, "6");
    setting::set(store, setting::TitleText, "Shopping");
    setting::set(store, setting::TitleOrder, 1);
    start();
    std::deque<unsigned> draws = {0, 0, 1, 73};  // blue full, v = 73
    tray->setRandomSource([&] {
        unsigned v = draws.front();
        draws.pop_front();
        return v;
    });
    ASSERT_EQ(tray->createNewNote(), 1);
    CNote* note = tray->findNote(4);
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(note->isVisible());
    EXPECT_EQ(store.GetNoteString(1, 4, "title"), "Shopping 2024-07-08");
    EXPECT_EQ(store.GetNoteUInt(1, 4, "time"), static_cast<std::uint32_t>(fakes.clock.now()));
    EXPECT_EQ(store.GetNoteUInt(1, 4, "titleBackColor"), 73u + 256 * 73 + 65536 * 255);
    EXPECT_EQ(store.GetNoteUInt(1, 4, "titleFontColor"), kWhite) << "73 + 73 + 255 = 401";
    EXPECT_EQ(fakes.windows.activated.back(), note);
    EXPECT_FALSE(tray->isBusy());
    // The new note is on disk at once.
    CNotesDatabase reread(fakes.platform());
    reread.SetDataFolder(folder.path());
    ASSERT_TRUE(reread.OpenDatabase(0));
    EXPECT_EQ(reread.ListNotes(1).size(), 4u);
}

TEST_F(NoteRegistry, AThousandLiveNotesIsTheLimitAndTheBinDoesNotCount) {
    prepare();
    for (int i = 0; i < 996; ++i) {
        store.NewNote();
    }
    const std::int32_t inBin = store.NewNote();
    store.SetNoteDeleted(inBin, 1);
    // 3 + 996 live notes: the 1,000th can still be made.
    setting::set(store, setting::showNotesMode, 2);
    start();
    EXPECT_EQ(tray->createNewNote(), 1);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(tray->createNewNote(), 0);
    EXPECT_EQ(messages(),
              std::vector<std::string>{"Attention: You have reached the maximum number of notes"});
    EXPECT_EQ(store.CountNotesByPriority(3), 1000);
    EXPECT_FALSE(tray->isBusy());
}

TEST_F(NoteRegistry, DuplicateCopiesTheNoteWithItsAlarmTimeAndAttachments) {
    prepare();
    store.SetNoteString(2, "copied title", "title");
    store.SetNoteUInt(2, 4000000000u, "remindTime");
    store.SetNoteInt(2, 1, "isReminder");
    store.SetNoteInt(2, 0, "isBody");
    store.SetNoteUInt(2, 123456, "expireTime");
    store.SetNoteBody(2, "{\\rtf1\\ansi plain body\\par}");
    store.AttachFileToNote(2, 0, "/tmp/a.txt");
    store.AttachFileToNote(2, 3, "https://example.org");
    start();
    tray->duplicateNote(2);
    CNote* copy = tray->findNote(4);
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(copy->isVisible());
    EXPECT_FALSE(copy->isBodyShown());
    for (const char* name :
         {"title", "remindTime", "isReminder", "time", "xPos", "priority", "expireTime",
          "bodyBackColor", "bodyFontType", "schedule", "remindAction"}) {
        EXPECT_EQ(store.GetNoteAttribute(1, 4, name), store.GetNoteAttribute(1, 2, name)) << name;
    }
    EXPECT_EQ(copy->body()->toPlainText(), "plain body");
    std::string original, duplicate;
    store.GetNoteBody(1, 2, original);
    store.GetNoteBody(1, 4, duplicate);
    EXPECT_EQ(duplicate, original);
    const auto files = store.GetNoteAttachedFiles(1, 4, 5);
    ASSERT_TRUE(files.has_value());
    ASSERT_EQ(files->size(), 2u);
    std::string name;
    store.GetNoteAttachedFilename(1, 4, (*files)[1], name);
    EXPECT_EQ(name, "https://example.org");
    EXPECT_EQ(store.GetNoteAttachedFiletype(1, 4, (*files)[1]), 3);
}

// Every attribute of a note, through a duplicate and an import: numbers are stored again as
// the program reads them, and a copy keeps its own id, Recycle Bin state and title switch.
TEST_F(NoteRegistry, DuplicateAndImportCopyEachAttributeAsItsTypeReadsIt) {
    constexpr const char* kBodyFont =
        "8====yaaaaaaaaaaaaaaaEaAaaaaaaaaayeAesCznlCwaByaaaaaaBQppqak6QeaKDEeafBvcqbkAGO3";
    constexpr const char* kTitleFont =
        "8====yaaaaaaaaaaaaaaaEaAaaB=aaaaayeAesCznlCwaByaaaaaaBQppqak6QeaKDEeafBvcqbkAGO3";
    struct Row {
        const char* name;
        const char* stored;      // in note 2
        const char* duplicated;  // in its duplicate; nullptr: as stored
        const char* imported;    // in its import; nullptr: as duplicated
    };
    const Row rows[] = {
        {"nid", "2", "4", "6"},
        {"xPos", "40x", "40", nullptr},
        {"yPos", "50", nullptr, nullptr},
        {"Width", "260", nullptr, nullptr},
        {"Height", "180", nullptr, nullptr},
        {"border", "0", nullptr, "1"},  // an import takes the setting for none
        {"TransLevel", "140x", "140", nullptr},
        {"title", "copy me", nullptr, nullptr},
        {"titleFontType", kBodyFont, nullptr, nullptr},
        {"titleFontColor", "-1", nullptr, nullptr},
        {"titleBackColor", "4000000000", "-294967296", nullptr},
        {"bodyFontType", kTitleFont, nullptr, nullptr},
        {"bodyFontColor", "12x", "12", nullptr},
        {"bodyBackColor", "65535", nullptr, nullptr},
        {"priority", "2junk", "2", nullptr},
        {"isTitle", "0", "1", nullptr},
        {"isBody", "1", nullptr, nullptr},
        {"isEdit", "0", nullptr, nullptr},
        {"Transparency", "0x", "0", nullptr},
        {"time", "1700000000", nullptr, nullptr},
        {"isReminder", "1", nullptr, nullptr},
        {"remindTime", "4000000001", "-294967295", nullptr},
        {"remindTime1", "11", nullptr, nullptr},
        {"remindTime2", "12", nullptr, nullptr},
        {"remindRepeat", "3", nullptr, nullptr},
        {"remindSnoozeTime", "4", nullptr, nullptr},
        {"remindRepeatTimes", "5", nullptr, nullptr},
        {"remindRepeatInterval", "6", nullptr, nullptr},
        {"remindRepeatInterval2", "7", nullptr, nullptr},
        {"remindAction", "8", nullptr, nullptr},
        {"remindFlashTimes", "9", nullptr, nullptr},
        {"remindFlashInterval", "10", nullptr, nullptr},
        {"remindWav", "bell 1x", nullptr, nullptr},
        {"remindUrl", "https://example.org/x", nullptr, nullptr},
        {"remindExe", "/bin/x", nullptr, nullptr},
        {"attachedFiles", "", nullptr, nullptr},
        {"imagePath", "/pictures/x.png", nullptr, nullptr},
        {"imagePos", "13x", "13", nullptr},
        {"isDeleted", "0", nullptr, nullptr},
        {"links", "1", nullptr, nullptr},
        {"expireTime", "14", nullptr, nullptr},
        {"deleteTime", "15", "0", nullptr},
        {"isClosed", "0", nullptr, nullptr},
        {"schedule", "1;!2;!3;!4x", nullptr, nullptr},
        {"repeatEach", "16x", "16", nullptr},
    };
    prepare();
    for (const Row& row : rows) {
        ASSERT_TRUE(store.SetNoteAttribute(2, row.name, row.stored)) << row.name;
    }
    const std::string exported = folder.file("export.dat");
    ASSERT_TRUE(store.ExportDatabase(exported));
    start();
    tray->duplicateNote(2);
    ASSERT_NE(tray->findNote(4), nullptr);
    fakes.fileDialogs.answers = {exported};
    tray->importNotes();
    ASSERT_EQ(store.GetNoteString(1, 6, "title"), "copy me");

    for (const Row& row : rows) {
        const char* duplicated = row.duplicated != nullptr ? row.duplicated : row.stored;
        const char* imported = row.imported != nullptr ? row.imported : duplicated;
        EXPECT_EQ(store.GetNoteAttribute(1, 4, row.name), duplicated) << row.name;
        EXPECT_EQ(store.GetNoteAttribute(1, 6, row.name), imported) << row.name;
    }
}

TEST_F(NoteRegistry, DeleteGoesToTheBinOrForGoodByDeleteMode) {
    prepare();
    start();
    tray->deleteNote(1);
    EXPECT_EQ(tray->findNote(1), nullptr);
    EXPECT_EQ(stored(1, "isDeleted"), 1);
    EXPECT_EQ(store.GetNoteUInt(1, 1, "deleteTime"), static_cast<std::uint32_t>(fakes.clock.now()));

    setting::set(store, setting::deleteMode, 0);
    CNote* note = tray->findNote(2);
    tray->deleteNoteWindow(*note);
    QCoreApplication::processEvents();
    EXPECT_EQ(tray->findNote(2), nullptr);
    EXPECT_EQ(store.ListNotes(1), (IdList{3}));
    EXPECT_EQ(store.ListDeletedNotes(), (std::optional<IdList>{IdList{1}}));
    EXPECT_TRUE(messages().empty());
}

TEST_F(NoteRegistry, RestoredNoteComesBackWithoutItsExpiration) {
    prepare();
    store.SetNoteUInt(1, 1700000000u, "expireTime");
    store.SetNoteDeleted(1, 1);
    start();
    EXPECT_EQ(tray->findNote(1), nullptr);
    tray->restoreNote(1);
    ASSERT_NE(tray->findNote(1), nullptr);
    EXPECT_TRUE(tray->findNote(1)->isVisible());
    EXPECT_EQ(stored(1, "isDeleted"), 0);
    EXPECT_EQ(stored(1, "expireTime"), 0);
}

TEST_F(NoteRegistry, UnknownNotesAreReported) {
    prepare();
    start();
    for (void (MainWindow::*ask)(std::int32_t) :
         {&MainWindow::deleteNote, &MainWindow::hideNote, &MainWindow::showNote,
          &MainWindow::printNote, &MainWindow::openNoteMenu}) {
        (tray.get()->*ask)(99);
    }
    // A window the main window did not open.
    const CNote stray(fakes.platform(), store, *tray, 99);
    tray->deleteNoteWindow(stray);
    EXPECT_EQ(messages(), std::vector<std::string>(6, "Error: Not able to find the note"));
    EXPECT_EQ(tray->noteCount(), 3u);
}

TEST_F(NoteRegistry, ExitStoresEveryBodyAndSilencesTheNotes) {
    prepare();
    start();
    CNote* note = tray->findNote(3);
    QTextCursor(note->body()->document()).insertText("typed before exit");
    tray->exitApplication();
    EXPECT_EQ(tray->noteCount(), 0u);
    CNotesDatabase reread(fakes.platform());
    reread.SetDataFolder(folder.path());
    ASSERT_TRUE(reread.OpenDatabase(0));
    std::string body;
    reread.GetNoteBody(1, 3, body);
    EXPECT_NE(body.find("typed before exit"), std::string::npos);
}

TEST(RandomColors, FollowTheTableAndTheReadabilityThresholds) {
    struct Case {
        std::vector<unsigned> draws;
        NoteColors expected;
    };
    auto rgb = [](unsigned r, unsigned g, unsigned b) { return r + 256 * g + 65536 * b; };
    const Case cases[] = {
        // All three bits 0: a grey title and a lighter grey body; 3 × 134 = 402 takes black.
        {{0, 0, 0, 134}, {rgb(134, 134, 134), kBlack, rgb(145, 145, 145), kBlack}},
        // 73 + 73 + 255 = 401 still takes white on the title, and so on the body.
        {{0, 0, 1, 73}, {rgb(73, 73, 255), kWhite, rgb(84, 84, 255), kWhite}},
        // Green alone is full at 225; a redraw when all three bits came out 1.
        {{1, 1, 1, 0, 1, 0, 100}, {rgb(100, 225, 100), kBlack, rgb(111, 225, 111), kBlack}},
        // v above 225 drops by 30; v below 10 rises by 10.
        {{1, 1, 0, 254}, {rgb(255, 255, 224), kBlack, rgb(255, 255, 235), kBlack}},
        {{1, 0, 0, 255 + 3}, {rgb(255, 13, 13), kWhite, rgb(255, 24, 24), kWhite}},
    };
    for (const Case& c : cases) {
        std::deque<unsigned> draws(c.draws.begin(), c.draws.end());
        const NoteColors colors = chooseRandomColors([&] {
            unsigned v = draws.front();
            draws.pop_front();
            return v;
        });
        EXPECT_EQ(colors, c.expected) << c.draws.back();
        EXPECT_TRUE(draws.empty());
    }
}

TEST(DefaultTitle, JoinsDateAndTextInTheChosenOrder) {
    fake::FakeClock clock;
    clock.set(2024, 1, 31, 13, 5, 9);
    EXPECT_EQ(composeDefaultTitle(clock, "6", "Call", 0), "2024-01-31 Call");
    EXPECT_EQ(composeDefaultTitle(clock, "6", "Call", 1), "Call 2024-01-31");
    EXPECT_EQ(composeDefaultTitle(clock, "13", "", 0), "Jan 31, 2024 - 01:05:09 PM ");
    EXPECT_EQ(composeDefaultTitle(clock, "0", "Plain", 0), " Plain");
    EXPECT_EQ(composeDefaultTitle(clock, "0", "", 0), " ") << "the joining blank stays";
    EXPECT_EQ(composeDefaultTitle(clock, "99", "Odd", 1), "Odd ");
}

}  // namespace
