// The three list windows as the main window opens them and talks to them.
#include "app/MainWindow.h"
#include "manage/FindWindow.h"
#include "manage/NoteListView.h"
#include "manage/NotesManagerWindow.h"
#include "manage/RecycleBinWindow.h"
#include "note/Note.h"
#include "platform/Messages.h"
#include "platform/fake/FakePlatform.h"
#include "richtext/QtRichTextEngine.h"
#include "support/TestFiles.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace bp;
using namespace bp::test;
using bp::fake::ShownBox;

namespace {

class ManagerRouting : public ::testing::Test {
protected:
    ManagerRouting() : store(platform()) {}
    ~ManagerRouting() override {
        if (tray != nullptr) {
            tray->exitApplication();
        }
    }
    Platform platform() {
        Platform p = fakes.platform();
        p.richText = &engine;
        return p;
    }
    void start(int openManager = 1) {
        tray = std::make_unique<MainWindow>(platform(), store, folder.path());
        if (openManager == 0) {
            // The setting is read from the database the tray opens.
            ASSERT_TRUE(store.InitDatabase());
            store.SetDataFolder(folder.path());
            ASSERT_TRUE(store.CreateDefaultDatabase(store.DataFolder() + "/Brightpost.dat"));
            ASSERT_TRUE(store.OpenDatabase(0));
            setting::set(store, setting::openManager, 0);
            ASSERT_TRUE(store.SaveDatabase(""));
        }
        ASSERT_EQ(tray->initialize(), 1);
        QCoreApplication::processEvents();
    }
    NotesManagerWindow& manager() { return *tray->notesManager(); }
    int rowCount() { return manager().list()->rows().rowCount(); }

    TempFolder folder;
    fake::FakePlatform fakes;
    rtf::QtRichTextEngine engine;
    CNotesDatabase store;
    std::unique_ptr<MainWindow> tray;
};

TEST_F(ManagerRouting, ShownAtStartOnTopAndToggledByItsHotKey) {
    start();
    ASSERT_NE(tray->notesManager(), nullptr);
    EXPECT_TRUE(manager().isVisible());
    EXPECT_EQ(fakes.windows.stackingOf(&manager()), IWindowSystem::Stacking::Top);
    EXPECT_EQ(static_cast<std::size_t>(rowCount()), tray->noteCount());

    fakes.hotKeys.press(hotkey::TOGGLE_MANAGER);
    EXPECT_FALSE(manager().isVisible());
    // A note made while it was hidden is listed when it comes back.
    ASSERT_EQ(tray->createNewNote(), 1);
    fakes.hotKeys.press(hotkey::TOGGLE_MANAGER);
    EXPECT_TRUE(manager().isVisible());
    EXPECT_EQ(static_cast<std::size_t>(rowCount()), tray->noteCount());

    manager().close();
    tray->showNotesManager();
    EXPECT_TRUE(manager().isVisible());
}

TEST_F(ManagerRouting, StaysHiddenAtStartWhenTheSettingSaysSo) {
    start(0);
    ASSERT_NE(tray->notesManager(), nullptr);
    EXPECT_FALSE(manager().isVisible());
    tray->showNotesManager();
    EXPECT_TRUE(manager().isVisible());
}

TEST_F(ManagerRouting, FollowsNoteChangesAndIgnoresUnknownNids) {
    start();
    const std::int32_t nid = tray->noteAt(0).nid();
    const int row = manager().list()->rows().rowOf(nid);
    store.SetNote(nid, std::string("Renamed"), note::title);
    tray->noteChanged(nid);
    tray->noteChanged(4711);
    QCoreApplication::processEvents();
    EXPECT_EQ(manager().list()->rows().row(row).cells[1], "Renamed");
    EXPECT_TRUE(fakes.messages.shown.empty());
}

TEST_F(ManagerRouting, ANoteDeletedBehindTheListsBackIsReportedNotFound) {
    start();
    const std::int32_t nid = tray->noteAt(0).nid();
    // Another window deletes the note; the list has not heard of it yet.
    tray->deleteNote(nid);
    manager().list()->selectOnly(manager().list()->rows().rowOf(nid));
    manager().button("Show")->click();
    QTest::keyClick(manager().list(), Qt::Key_Return);
    const ShownBox notFound{ShownBox::Kind::Message, "Error", "", "Not able to find the note", 205};
    EXPECT_EQ(fakes.messages.shown, (std::vector<ShownBox>{notFound, notFound}));
    QCoreApplication::processEvents();
    EXPECT_EQ(manager().list()->rows().rowOf(nid), -1);
}

TEST_F(ManagerRouting, DeletedFromTheManagerIntoTheBinAndRestoredFromThere) {
    start();
    setting::set(store, setting::deleteMode, 1);
    const std::size_t notes = tray->noteCount();
    const std::int32_t nid = tray->noteAt(0).nid();
    manager().list()->selectOnly(manager().list()->rows().rowOf(nid));
    fakes.messages.answers = {true};
    manager().button("Delete")->click();
    EXPECT_EQ(tray->noteCount(), notes - 1);
    EXPECT_EQ(tray->findNote(nid), nullptr);
    EXPECT_EQ(manager().list()->rows().rowOf(nid), -1);

    fakes.modalDialogs.whileOpen = [&](QDialog& dialog) {
        auto* bin = qobject_cast<RecycleBinWindow*>(&dialog);
        EXPECT_NE(bin, nullptr);
        EXPECT_TRUE(tray->isBusy());
        bin->list()->selectOnly(bin->list()->rows().rowOf(0));
        fakes.messages.answers = {true};
        bin->button("Restore")->click();
        EXPECT_EQ(bin->list()->rows().rowCount(), 0);
        return 0;
    };
    tray->showRecycleBin();
    ASSERT_NE(tray->findNote(nid), nullptr);
    EXPECT_TRUE(tray->findNote(nid)->isVisible());
    QCoreApplication::processEvents();
    EXPECT_NE(manager().list()->rows().rowOf(nid), -1);
}

TEST_F(ManagerRouting, FindShowsTheNoteItFound) {
    start();
    const std::int32_t nid = tray->noteAt(1).nid();
    store.SetNote(nid, std::string("Quarterly zebra report"), note::title);
    tray->hideNote(nid);
    ASSERT_FALSE(tray->findNote(nid)->isVisible());
    fakes.modalDialogs.whileOpen = [&](QDialog& dialog) {
        auto* find = qobject_cast<FindWindow*>(&dialog);
        EXPECT_NE(find, nullptr);
        find->textField()->setText("zebra");
        find->search();
        find->list()->selectOnly(0);
        find->showSelectedButton()->click();
        return 0;
    };
    tray->showFind();
    EXPECT_TRUE(tray->findNote(nid)->isVisible());
    EXPECT_FALSE(tray->isBusy());
}

}  // namespace
