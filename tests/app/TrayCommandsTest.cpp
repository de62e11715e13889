// The tray icon, its menu, the commands on all notes, import/export, hot keys and the About
// box, on an offscreen display with the fake desktop services.
#include "app/AboutBox.h"
#include "app/MainWindow.h"
#include "app/TrayMenu.h"
#include "manage/NotesManagerWindow.h"
#include "note/Note.h"
#include "note/NoteBody.h"
#include "platform/Messages.h"
#include "platform/fake/FakePlatform.h"
#include "support/StoreFixture.h"
#include "support/TestFiles.h"

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

using namespace bp;
using namespace bp::test;
using bp::fake::ShownBox;

namespace {

class TrayTest : public ::testing::Test, public StoreFixture {
protected:
    TrayTest() : StoreFixture(Open::ByTheProgram) {
        fakes.clock.set(2024, 5, 6, 7, 8, 9);
        tray = std::make_unique<MainWindow>(fakes.platform(), store, folder.path());
        EXPECT_EQ(tray->initialize(), 1);
    }
    ~TrayTest() override {
        if (tray->trayMenu() != nullptr) {
            tray->trayMenu()->hide();
        }
    }

    // Brings the registry to exactly n notes.
    void haveNotes(std::size_t n) {
        while (tray->noteCount() > n) {
            tray->deleteNote(tray->noteAt(0).nid());
        }
        while (tray->noteCount() < n) {
            ASSERT_EQ(tray->createNewNote(), 1);
        }
        QCoreApplication::processEvents();
    }
    int noteInt(std::size_t index, const char* name) {
        return store.GetNoteInt(kLiveSource, tray->noteAt(index).nid(), name);
    }
    std::vector<ShownBox> warnings() const {
        std::vector<ShownBox> found;
        for (const ShownBox& box : fakes.messages.shown) {
            if (box.caption == "Warning") {
                found.push_back(box);
            }
        }
        return found;
    }

    std::unique_ptr<MainWindow> tray;
};

// ---- Tool tip and icon ---------------------------------------------------------------------

TEST_F(TrayTest, TipCountsNotesAndTheIconSwapsWhileSomeAreHidden) {
    haveNotes(3);
    tray->updateTrayTip();
    EXPECT_EQ(tray->trayIconId(), 201);
    tray->hideNote(tray->noteAt(1).nid());
    EXPECT_EQ(tray->trayTip(),
              "Brightpost\r\nCreated notes: 3\r\nVisible notes: 2\r\nInvisible notes: 1");
    EXPECT_EQ(tray->trayIconId(), 202);
    tray->showNote(tray->noteAt(1).nid());
    EXPECT_EQ(tray->trayIconId(), 201);
    EXPECT_NE(tray->trayTip().find("Invisible notes: 0"), std::string::npos);
}

// ---- Clicks --------------------------------------------------------------------------------

TEST_F(TrayTest, SingleClickOpensTheMenuAfter300Milliseconds) {
    tray->trayIconClicked();
    EXPECT_EQ(tray->trayClickTimer().interval(), 300);
    QTest::qWait(150);
    EXPECT_EQ(tray->trayMenuOpenings(), 0);
    QTest::qWait(300);
    EXPECT_EQ(tray->trayMenuOpenings(), 1);
    EXPECT_TRUE(tray->trayMenu()->isVisible());
    EXPECT_EQ(tray->trayClickTimer().interval(), 0);  // one-shot
}

TEST_F(TrayTest, DoubleClickCreatesExactlyOneNoteAndNoMenu) {
    const std::size_t before = tray->noteCount();
    tray->trayIconClicked();
    tray->trayIconDoubleClicked();
    QTest::qWait(450);
    EXPECT_EQ(tray->noteCount(), before + 1);
    EXPECT_EQ(tray->trayMenuOpenings(), 0);
    // The next single click is a single click again.
    tray->trayIconClicked();
    QTest::qWait(450);
    EXPECT_EQ(tray->trayMenuOpenings(), 1);
}

TEST_F(TrayTest, EveryWayADesktopReportsADoubleClickMakesOneNoteAndNoMenu) {
    // A StatusNotifier host sends a click for each press; an XEmbed tray sends a click for
    // each press and a double click with the second; a third quick press belongs to the same
    // double click.
    using Step = void (MainWindow::*)();
    const Step click = &MainWindow::trayIconClicked;
    const Step twice = &MainWindow::trayIconDoubleClicked;
    const std::vector<std::vector<Step>> reports{{click, click},
                                                 {click, click, twice},
                                                 {click, twice},
                                                 {click, click, twice, click},
                                                 {twice}};
    for (std::size_t i = 0; i < reports.size(); ++i) {
        const std::size_t notes = tray->noteCount();
        const int openings = tray->trayMenuOpenings();
        for (const Step step : reports[i]) {
            (tray.get()->*step)();
        }
        QTest::qWait(450);
        EXPECT_EQ(tray->noteCount(), notes + 1) << i;
        EXPECT_EQ(tray->trayMenuOpenings(), openings) << i;
        // What comes next is a single click of its own.
        tray->trayIconClicked();
        QTest::qWait(450);
        EXPECT_EQ(tray->trayMenuOpenings(), openings + 1) << i;
        tray->trayMenu()->hide();
    }
}

TEST_F(TrayTest, RightClickOpensTheMenuAtOnce) {
    tray->trayIconContextMenu();
    EXPECT_EQ(tray->trayMenuOpenings(), 1);
}

TEST_F(TrayTest, ClicksHotKeysAndScriptedActionsAreDroppedWhileAModalDialogIsOpen) {
    const std::size_t before = tray->noteCount();
    int dialogs = 0;
    fakes.modalDialogs.whileOpen = [&](QDialog&) {
        ++dialogs;
        EXPECT_TRUE(tray->isBusy());
        tray->trayIconContextMenu();
        tray->trayIconClicked();
        tray->trayIconDoubleClicked();
        fakes.hotKeys.press(hotkey::NEW_NOTE);
        fakes.hotKeys.press(hotkey::HIDE_ALL);
        tray->performAction("new-note");
        tray->performAction("hide-all");
        return 0;
    };
    tray->showAbout();
    EXPECT_EQ(dialogs, 1);
    EXPECT_FALSE(tray->isBusy());
    QTest::qWait(400);
    EXPECT_EQ(tray->trayMenuOpenings(), 0);
    EXPECT_EQ(tray->noteCount(), before);
    for (std::size_t i = 0; i < tray->noteCount(); ++i) {
        EXPECT_TRUE(tray->noteAt(i).isVisible());
    }

    // The same while a file dialog of the import is open.
    fakes.fileDialogs.whileOpen = [&] {
        EXPECT_TRUE(tray->isBusy());
        fakes.hotKeys.press(hotkey::NEW_NOTE);
        tray->trayIconContextMenu();
    };
    tray->importNotes();
    tray->exportNotes();
    EXPECT_EQ(fakes.fileDialogs.calls.size(), 2u);
    EXPECT_EQ(tray->noteCount(), before);
    EXPECT_EQ(tray->trayMenuOpenings(), 0);
    EXPECT_FALSE(tray->isBusy());
}

TEST_F(TrayTest, ANoteMadeFromInsideAModalDialogKeepsTheProgramBusy) {
    // A note's own menu can still ask for a new note while a dialog of the shell is open; once
    // the note is made the dialog is still open, so clicks must go on being dropped.
    const std::size_t before = tray->noteCount();
    fakes.modalDialogs.whileOpen = [&](QDialog&) {
        tray->createNote();
        EXPECT_TRUE(tray->isBusy());
        tray->trayIconContextMenu();
        return 0;
    };
    tray->showAbout();
    EXPECT_EQ(tray->noteCount(), before + 1);
    EXPECT_EQ(tray->trayMenuOpenings(), 0);
    EXPECT_FALSE(tray->isBusy());
}

// ---- The menu ------------------------------------------------------------------------------

TEST_F(TrayTest, MenuHasItsNineteenPositionsAndRewritesTheHotKeyTexts) {
    TrayMenu* menu = tray->trayMenu();
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), 19);
    const std::vector<std::pair<int, QString>> items{
        {1, "Notes Manager"}, {2, "Notes"},        {4, "Settings"},     {6, "Find"},
        {8, "Import Notes"},  {9, "Export Notes"}, {11, "Recycle Bin"}, {13, "About"},
        {14, "On-line Help"}, {16, "Save"},        {18, "Exit"}};
    for (const auto& [position, text] : items) {
        EXPECT_EQ(actions[position]->text(), text) << position;
    }
    for (const int position : {3, 5, 7, 10, 12, 15, 17}) {
        EXPECT_TRUE(actions[position]->isSeparator()) << position;
    }
    for (const int position : {1, 4, 6, 11, 16}) {
        EXPECT_FALSE(actions[position]->icon().isNull()) << position;
    }
    EXPECT_FALSE(actions[0]->isEnabled());  // the header band
    EXPECT_EQ(menu->notesMenu()->actions().size(), 7);

    setting::set(store, setting::hkShowAll, (0x22u << 16) | 8 | 2);  // Ctrl + Page Down
    setting::set(store, setting::hkHideAll, 0);
    tray->showTrayMenu();
    EXPECT_EQ(menu->action(TrayMenu::Item::NewNote)->text(), "New Note\tCtrl + Alt + N");
    EXPECT_EQ(menu->action(TrayMenu::Item::ShowAll)->text(), "Show All Notes\tCtrl + Page Do");
    EXPECT_EQ(menu->action(TrayMenu::Item::HideAll)->text(), "Hide All Notes\t");
}

TEST_F(TrayTest, TheMenuIsBroughtUpToDateWheneverItIsAboutToShow) {
    // A StatusNotifier host shows the exported menu itself; all it tells the program first is
    // that the menu, or its "Notes" submenu, is about to show.
    TrayMenu* menu = tray->trayMenu();
    EXPECT_EQ(menu->action(TrayMenu::Item::NewNote)->text(), "New Note\tCtrl + Alt + N");
    setting::set(store, setting::hkNewNote, 0);
    setting::set(store, setting::deleteMode, 0);
    emit menu->notesMenu()->aboutToShow();
    EXPECT_EQ(menu->action(TrayMenu::Item::NewNote)->text(), "New Note\t");
    setting::set(store, setting::hkHideAll, 0);
    emit menu->aboutToShow();
    EXPECT_EQ(menu->action(TrayMenu::Item::HideAll)->text(), "Hide All Notes\t");
    EXPECT_FALSE(menu->action(TrayMenu::Item::RecycleBin)->isEnabled());
    EXPECT_EQ(tray->trayMenuOpenings(), 0);
}

TEST_F(TrayTest, RecycleBinIsGreyedWhenDeletedNotesAreNotKept) {
    for (const auto& [mode, enabled] : {std::pair{0, false}, std::pair{1, true}}) {
        setting::set(store, setting::deleteMode, mode);
        tray->showTrayMenu();
        EXPECT_EQ(tray->trayMenu()->action(TrayMenu::Item::RecycleBin)->isEnabled(), enabled)
            << mode;
        tray->trayMenu()->hide();
    }
}

TEST_F(TrayTest, MenuItemsHaveTheDarkMenuSizes) {
    TrayMenu* menu = tray->trayMenu();
    menu->popup(QPoint(100, 100));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    const QList<QAction*> actions = menu->actions();
    EXPECT_EQ(menu->actionGeometry(actions[0]).height(), 32);
    EXPECT_EQ(menu->actionGeometry(actions[1]).height(), 32);
    EXPECT_EQ(menu->actionGeometry(actions[3]).height(), 6);
    EXPECT_GE(menu->actionGeometry(actions[1]).width(), 150 + 64);
    // The body of an item away from its icon and text is the dark background.
    const QImage image = menu->grab().toImage();
    const QRect item = menu->actionGeometry(actions[18]);
    EXPECT_EQ(QColor(image.pixel(item.right() - 3, item.top() + 2)), QColor(43, 43, 43));
}

TEST_F(TrayTest, MenuCommandsReachTheMainWindow) {
    const std::size_t before = tray->noteCount();
    tray->trayMenu()->action(TrayMenu::Item::NewNote)->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(tray->noteCount(), before + 1);
    tray->trayMenu()->action(TrayMenu::Item::OnlineHelp)->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(fakes.shell.opened, (std::vector<std::string>{"https://brightpost.org/help"}));
}

TEST_F(TrayTest, EachMenuItemRunsItsOwnCommand) {
    using Item = TrayMenu::Item;
    haveNotes(2);
    fakes.desktop.screen = {0, 0, 1024, 768};
    std::vector<std::string> opened;
    fakes.modalDialogs.whileOpen = [&](QDialog& dialog) {
        opened.emplace_back(dialog.metaObject()->className());
        return 0;
    };
    const auto choose = [this](Item item) {
        tray->trayMenu()->action(item)->trigger();
        QCoreApplication::processEvents();
    };

    const std::pair<Item, const char*> dialogs[] = {
        {Item::AppSettings, "bp::AppSettingsDialog"},
        {Item::NotesSettings, "bp::NotesSettingsDialog"},
        {Item::Find, "bp::FindWindow"},
        {Item::RecycleBin, "bp::RecycleBinWindow"},
        {Item::About, "bp::CAboutBox"},
    };
    for (const auto& [item, dialog] : dialogs) {
        opened.clear();
        choose(item);
        EXPECT_EQ(opened, std::vector<std::string>{dialog});
    }

    choose(Item::HideAll);
    EXPECT_FALSE(tray->noteAt(0).isVisible());
    choose(Item::ShowAll);
    EXPECT_TRUE(tray->noteAt(0).isVisible());
    choose(Item::CascadeAll);
    EXPECT_EQ(tray->noteAt(1).geometry(), QRect(15, 30, 200, 150));
    choose(Item::MinimizeAll);
    EXPECT_EQ(noteInt(1, "isBody"), 0);
    EXPECT_EQ(tray->noteAt(1).height(), 31);
    choose(Item::NewNote);
    EXPECT_EQ(tray->noteCount(), 3u);
    choose(Item::NotesManager);
    EXPECT_TRUE(tray->notesManager()->isVisible());
    choose(Item::importNotes);
    choose(Item::exportNotes);
    EXPECT_EQ(fakes.fileDialogs.calls.size(), 2u);
    tray->noteAt(0).body()->insertPlainText(QStringLiteral("kept by Save"));
    choose(Item::Save);
    EXPECT_NE(readFile(folder.file("Brightpost.dat")).find("kept by Save"), std::string::npos);
    choose(Item::Exit);
    EXPECT_TRUE(tray->isExiting());
}

// ---- Commands on all notes -----------------------------------------------------------------

TEST_F(TrayTest, HideAllThenShowAllRecordTheClosedState) {
    haveNotes(3);
    tray->hideAllNotes();
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_FALSE(tray->noteAt(i).isVisible());
        EXPECT_EQ(noteInt(i, "isClosed"), 1);
    }
    EXPECT_EQ(tray->trayIconId(), 202);
    tray->showAllNotes();
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_TRUE(tray->noteAt(i).isVisible());
        EXPECT_TRUE(tray->noteAt(i).raisedByAll());
        EXPECT_EQ(noteInt(i, "isClosed"), 0);
    }
    EXPECT_EQ(tray->trayIconId(), 201);
}

TEST_F(TrayTest, CascadePlacesAndShowsEveryNote) {
    haveNotes(3);
    fakes.desktop.screen = {0, 0, 1024, 768};
    tray->hideNote(tray->noteAt(2).nid());
    tray->cascadeAllNotes();
    const std::vector<QRect> expected{{0, 0, 200, 150}, {15, 30, 200, 150}, {30, 60, 200, 150}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(QRect(noteInt(i, "xPos"), noteInt(i, "yPos"), noteInt(i, "Width"),
                        noteInt(i, "Height")),
                  expected[i]);
        EXPECT_EQ(tray->noteAt(i).geometry(), expected[i]) << i;
        EXPECT_TRUE(tray->noteAt(i).isVisible());
    }
    EXPECT_EQ(tray->trayIconId(), 201);
}

TEST_F(TrayTest, MinimizeAllCollapsesIntoRows) {
    haveNotes(7);
    fakes.desktop.screen = {0, 0, 1280, 1024};
    tray->minimizeAllNotes();
    for (std::size_t i = 0; i < 7; ++i) {
        const QPoint expected = i < 6 ? QPoint(201 * static_cast<int>(i), 0) : QPoint(0, 25);
        EXPECT_EQ(QPoint(noteInt(i, "xPos"), noteInt(i, "yPos")), expected) << i;
        EXPECT_EQ(noteInt(i, "isBody"), 0);
        EXPECT_EQ(tray->noteAt(i).pos(), expected) << i;
        EXPECT_EQ(tray->noteAt(i).size(), QSize(200, 31)) << i;
        EXPECT_EQ(noteInt(i, "Width"), 200) << i;
    }
}

TEST_F(TrayTest, TooSmallScreensAreRefusedWithoutChangingANote) {
    haveNotes(2);
    const std::string before = store.NotesSection();
    fakes.desktop.screen = {0, 0, 150, 100};
    tray->cascadeAllNotes();
    fakes.desktop.screen = {0, 0, 100, 100};
    tray->minimizeAllNotes();
    EXPECT_EQ(warnings(),
              (std::vector<ShownBox>{{ShownBox::Kind::Message, "Warning", "",
                                      "Can't cascade notes.\nScreen resolution is to small.", 205},
                                     {ShownBox::Kind::Message, "Warning", "",
                                      "Can't process.\nScreen resolution is to small.", 205}}));
    EXPECT_EQ(store.NotesSection(), before);
}

TEST_F(TrayTest, SaveStoresBodiesAndWritesTheDatabase) {
    haveNotes(1);
    tray->noteAt(0).body()->insertPlainText(QStringLiteral("typed but not stored yet"));
    tray->saveAllNotes();
    EXPECT_NE(readFile(folder.file("Brightpost.dat")).find("typed but not stored yet"),
              std::string::npos);
}

TEST_F(TrayTest, AutoSaveTimerRestartsFromTheSetting) {
    setting::set(store, setting::autoSave, 7);
    tray->autoSaveIntervalChanged();
    EXPECT_EQ(tray->autoSaveTimer().interval(), 7 * 60000);
}

// ---- Export and import ---------------------------------------------------------------------

TEST_F(TrayTest, ExportCompletesTheNameAndBringsTheNotesBack) {
    haveNotes(2);
    tray->hideNote(tray->noteAt(1).nid());
    std::vector<bool> visibleWhileOpen;
    fakes.fileDialogs.whileOpen = [&] { visibleWhileOpen.push_back(tray->noteAt(0).isVisible()); };
    fakes.fileDialogs.answers = {folder.file("exported")};
    tray->exportNotes();
    EXPECT_EQ(fakes.fileDialogs.calls.at(0).kind, "save");
    EXPECT_EQ(fakes.fileDialogs.calls.at(0).filter, "Dat Files (*.dat)");
    EXPECT_EQ(visibleWhileOpen, std::vector<bool>{false});
    EXPECT_TRUE(std::filesystem::exists(folder.file("exported.dat")));
    EXPECT_FALSE(std::filesystem::exists(folder.file("exported")));
    EXPECT_EQ(readFile(folder.file("exported.dat")), readFile(folder.file("Brightpost.dat")));
    // The note that was open is back; the hidden one stays hidden, and nothing was recorded.
    EXPECT_TRUE(tray->noteAt(0).isVisible());
    EXPECT_FALSE(tray->noteAt(1).isVisible());
    EXPECT_EQ(noteInt(0, "isClosed"), 0);

    // Cancelled: nothing written, the notes come back.
    tray->exportNotes();
    EXPECT_TRUE(tray->noteAt(0).isVisible());
}

TEST_F(TrayTest, AShellDialogEndsTheRaiseOfTheArrangingCommands) {
    using Stacking = IWindowSystem::Stacking;
    haveNotes(3);
    for (std::size_t i = 0; i < 3; ++i) {
        tray->noteAt(i).SetPriority(static_cast<int>(i));
    }
    const std::function<void()> dialogs[] = {
        [this] { tray->exportNotes(); },
        [this] { tray->importNotes(); },
        [this] { tray->showAbout(); },
    };
    for (const auto& openAndCancel : dialogs) {
        tray->minimizeAllNotes();
        for (std::size_t i = 0; i < 3; ++i) {
            ASSERT_TRUE(tray->noteAt(i).raisedByAll());
        }
        openAndCancel();
        const Stacking expected[] = {Stacking::Bottom, Stacking::Normal, Stacking::Top};
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_FALSE(tray->noteAt(i).raisedByAll()) << i;
            EXPECT_EQ(fakes.windows.stackingOf(&tray->noteAt(i)), expected[i]) << i;
        }
    }
}

TEST_F(TrayTest, ExportOntoTheOpenDatabaseSavesItSafely) {
    haveNotes(1);
    store.SetNoteString(tray->noteAt(0).nid(), "saved through export", "title");
    fakes.fileDialogs.answers = {folder.file("Brightpost.dat")};
    tray->exportNotes();
    EXPECT_NE(readFile(folder.file("Brightpost.dat")).find("saved through export"),
              std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder.file("~tmp.dat")));
}

class ImportTest : public TrayTest {
protected:
    // A database file with two live notes and one in its Recycle Bin, made by a second store.
    std::string makeImportFile(const std::string& plainBody = {}) {
        fake::FakePlatform otherFakes;
        otherFakes.desktop.screen = {0, 0, 3000, 2000};
        CNotesDatabase other(otherFakes.platform());
        TempFolder& otherFolder = exportFolder;
        other.InitDatabase();
        other.SetDataFolder(otherFolder.path());
        EXPECT_TRUE(other.OpenDatabase(0));
        for (const std::int32_t nid : other.ListNotes(kLiveSource)) {
            other.DeleteNote(nid);
        }
        const std::int32_t far = other.NewNote();
        other.SetNoteString(far, "far away", "title");
        other.SetNoteInt(far, 2500, "xPos");
        other.SetNoteInt(far, -40, "yPos");
        other.SetNoteInt(far, 300, "Width");
        other.SetNoteInt(far, 200, "Height");
        other.SetNoteUInt(far, 1234567, "time");
        other.SetNoteInt(far, 0, "border");
        other.SetNoteBody(far, "{\\rtf1 imported body}");
        other.AttachFileToNote(far, 0, "/home/user/plan.txt");
        other.AttachFileToNote(far, 1, "https://example.org/");
        const std::int32_t plain = other.NewNote();
        other.SetNoteString(plain, "plain", "title");
        other.SetNoteInt(plain, 3, "border");
        if (!plainBody.empty()) {
            other.SetNoteBody(plain, plainBody);
        }
        const std::int32_t binned = other.NewNote();
        other.SetNoteString(binned, "in the bin", "title");
        other.SetNoteDeleted(binned, 1);
        const std::string path = otherFolder.file("export.dat");
        EXPECT_TRUE(other.ExportDatabase(path));
        return path;
    }
    std::vector<std::string> titles() {
        std::vector<std::string> found;
        for (std::size_t i = 0; i < tray->noteCount(); ++i) {
            found.push_back(store.GetNoteString(kLiveSource, tray->noteAt(i).nid(), "title"));
        }
        return found;
    }

    TempFolder exportFolder;
};

TEST_F(ImportTest, ImportedNotesGetNewIdsFittedGeometryAndAreSaved) {
    haveNotes(1);
    const std::int32_t existing = tray->noteAt(0).nid();
    const std::string path = makeImportFile();
    fakes.desktop.screen = {0, 0, 1920, 1080};
    // Chosen without its extension: completed to the file.
    fakes.fileDialogs.answers = {path.substr(0, path.size() - 4)};
    tray->importNotes();

    ASSERT_EQ(titles(),
              (std::vector<std::string>{store.GetNoteString(kLiveSource, existing, "title"),
                                        "far away", "plain"}));
    const CNote& far = tray->noteAt(1);
    EXPECT_NE(far.nid(), existing);
    EXPECT_NE(far.nid(), tray->noteAt(2).nid());
    EXPECT_EQ(
        QRect(noteInt(1, "xPos"), noteInt(1, "yPos"), noteInt(1, "Width"), noteInt(1, "Height")),
        QRect(1620, 0, 300, 200));
    EXPECT_EQ(store.GetNoteUInt(kLiveSource, far.nid(), "time"), 1234567u);
    EXPECT_EQ(noteInt(1, "border"), setting::get(store, setting::border));
    EXPECT_EQ(noteInt(2, "border"), 3);
    std::string body;
    ASSERT_TRUE(store.GetNoteBody(kLiveSource, far.nid(), body));
    EXPECT_EQ(body, "{\\rtf1 imported body}\r\n");  // no extra line per import

    const auto files = store.GetNoteAttachedFiles(kLiveSource, far.nid(), 5);
    ASSERT_TRUE(files);
    ASSERT_EQ(files->size(), 2u);
    std::string name;
    store.GetNoteAttachedFilename(kLiveSource, far.nid(), (*files)[1], name);
    EXPECT_EQ(name, "https://example.org/");
    EXPECT_EQ(store.GetNoteAttachedFiletype(kLiveSource, far.nid(), (*files)[1]), 1);

    // Saved: a fresh store reads the imported notes from the file.
    CNotesDatabase reread(fakes.platform());
    reread.InitDatabase();
    reread.SetDataFolder(folder.path());
    ASSERT_TRUE(reread.OpenDatabase(0));
    EXPECT_EQ(reread.ListNotes(kLiveSource).size(), 3u);
    EXPECT_TRUE(tray->noteAt(1).isVisible());
    EXPECT_FALSE(tray->isBusy());
}

TEST_F(ImportTest, AHugeOneLineBodyImportsWhole) {
    haveNotes(1);
    const std::string body = "{\\rtf1\\ansi\\pard " + std::string(2000000, 'x') + "\\par\r\n}";
    fakes.fileDialogs.answers = {makeImportFile(body)};
    tray->importNotes();
    ASSERT_EQ(tray->noteCount(), 3u);
    EXPECT_EQ(tray->noteAt(2).body()->textLength(), 2000000);
    std::string stored;
    ASSERT_TRUE(store.GetNoteBody(kLiveSource, tray->noteAt(2).nid(), stored));
    EXPECT_EQ(stored.find(body), 0u);
}

TEST_F(ImportTest, AnImportStopsWhenTheSessionEndsAndKeepsWhatCameIn) {
    haveNotes(1);
    fakes.fileDialogs.answers = {makeImportFile()};
    tray->setSessionEnding([] { return true; });
    tray->importNotes();
    ASSERT_EQ(titles().size(), 2u);
    EXPECT_EQ(titles()[1], "far away");
    CNotesDatabase reread(fakes.platform());
    reread.InitDatabase();
    reread.SetDataFolder(folder.path());
    ASSERT_TRUE(reread.OpenDatabase(0));
    EXPECT_EQ(reread.ListNotes(kLiveSource).size(), 2u);
}

TEST_F(ImportTest, UnusableFilesShowTheStoresMessageAndChangeNothing) {
    haveNotes(1);
    writeFile(folder.file("other.dat"), withLengthPrefix("just some text"));
    writeFile(folder.file("damaged.dat"), withLengthPrefix("short", 5000));
    writeFile(folder.file("locked.dat"), readFile(folder.file("Brightpost.dat")));
    std::filesystem::permissions(folder.file("locked.dat"), std::filesystem::perms::none);
    const bool canReadLocked = std::ifstream(folder.file("locked.dat")).good();  // root can

    struct Case {
        const char* file;
        const char* message;
    };
    std::vector<Case> cases{{"missing.dat", "File not found!"},
                            {"other.dat", "Wrong dat file format."},
                            {"damaged.dat", "Wrong dat file format."}};
    if (!canReadLocked) {
        cases.push_back({"locked.dat", "You do not have access permissions to dat file."});
    }
    const std::string notesBefore = store.NotesSection();
    const std::string fileBefore = readFile(folder.file("Brightpost.dat"));
    for (const Case& c : cases) {
        fakes.messages.shown.clear();
        fakes.fileDialogs.answers = {folder.file(c.file)};
        tray->importNotes();
        ASSERT_FALSE(fakes.messages.shown.empty()) << c.file;
        EXPECT_EQ(fakes.messages.shown.back().text.rfind(c.message, 0), 0u)
            << c.file << ": " << fakes.messages.shown.back().text;
        EXPECT_EQ(tray->noteCount(), 1u) << c.file;
        EXPECT_EQ(store.NotesSection(), notesBefore) << c.file;
        EXPECT_EQ(readFile(folder.file("Brightpost.dat")), fileBefore) << c.file;
        EXPECT_TRUE(tray->noteAt(0).isVisible()) << c.file;
        EXPECT_FALSE(tray->isBusy());
    }
}

// ---- Hot keys ------------------------------------------------------------------------------

TEST_F(TrayTest, DefaultHotKeysAreRegisteredAndActOnPress) {
    using Key = fake::FakeHotKeys::Key;
    constexpr unsigned kCtrlAlt = IHotKeys::Ctrl | IHotKeys::Alt;
    EXPECT_EQ(fakes.hotKeys.registered, (std::map<int, Key>{{70, {kCtrlAlt, 'N'}},
                                                            {72, {kCtrlAlt, 'S'}},
                                                            {73, {kCtrlAlt, 'H'}},
                                                            {74, {kCtrlAlt, 'M'}},
                                                            {77, {kCtrlAlt, 'B'}}}));
    haveNotes(2);
    fakes.hotKeys.press(hotkey::NEW_NOTE);
    EXPECT_EQ(tray->noteCount(), 3u);
    fakes.hotKeys.press(hotkey::HIDE_ALL);
    EXPECT_FALSE(tray->noteAt(0).isVisible());
    fakes.hotKeys.press(hotkey::SHOW_ALL);
    EXPECT_TRUE(tray->noteAt(0).isVisible());
    fakes.hotKeys.press(hotkey::TOGGLE_MANAGER);  // no manager yet: nothing happens
    fakes.hotKeys.press(hotkey::TRAY_MENU);
    ASSERT_NE(tray->trayMenu(), nullptr);
    EXPECT_TRUE(tray->trayMenu()->isVisible());
    tray->trayMenu()->hide();

    tray->exitApplication();
    EXPECT_TRUE(fakes.hotKeys.registered.empty());
}

TEST_F(TrayTest, HotKeyValuesAndTheirRegistration) {
    tray->unregisterHotKeys();
    struct Case {
        std::uint32_t value;
        bool registers;
        unsigned modifiers;
        unsigned key;
    };
    for (const Case c : {
             Case{0, false, 0, 0},
             Case{65535, false, 0, 0},              // key code 0
             Case{(0x07u << 16) | 6, false, 0, 0},  // no such key
             Case{(0xFFu << 16) | 2, false, 0, 0},
             Case{('Q' << 16) | 1, true, IHotKeys::Shift, 'Q'},
             Case{(0x22u << 16) | 8 | 4, true, IHotKeys::Alt,
                  0x22},  // the extended bit adds nothing
             Case{(0x70u << 16) | 7, true, IHotKeys::Ctrl | IHotKeys::Alt | IHotKeys::Shift, 0x70},
         }) {
        fakes.hotKeys.registered.clear();
        tray->registerHotKeyValue(c.value, 70);
        if (c.registers) {
            EXPECT_EQ(fakes.hotKeys.registered,
                      (std::map<int, fake::FakeHotKeys::Key>{{70, {c.modifiers, c.key}}}))
                << c.value;
        } else {
            EXPECT_TRUE(fakes.hotKeys.registered.empty()) << c.value;
        }
    }
}

TEST_F(TrayTest, ACombinationHeldElsewhereIsIgnored) {
    tray->unregisterHotKeys();
    fakes.hotKeys.heldElsewhere = {'N'};
    tray->registerHotKeys();
    EXPECT_FALSE(fakes.hotKeys.registered.contains(hotkey::NEW_NOTE));
    EXPECT_TRUE(fakes.hotKeys.registered.contains(hotkey::SHOW_ALL));
    EXPECT_EQ(setting::get(store, setting::hkNewNote), 5111814u);
    tray->showTrayMenu();
    EXPECT_EQ(tray->trayMenu()->action(TrayMenu::Item::NewNote)->text(),
              "New Note\tCtrl + Alt + N");
}

// ---- Command-line actions ------------------------------------------------------------------

TEST_F(TrayTest, ALaterStartMayAskForNamedActionsOnly) {
    bool endRequested = false;
    bool exited = false;
    QObject::connect(tray.get(), &MainWindow::endRequested, [&] { endRequested = true; });
    QObject::connect(tray.get(), &MainWindow::exited, [&] { exited = true; });
    const std::int32_t first = tray->noteAt(0).nid();
    const std::size_t notes = tray->noteCount();
    const std::size_t boxes = fakes.messages.shown.size();
    // Internal messages (here: delete a note unasked, pop up the menu, make a note), and
    // anything else that is not exactly "action <name>", change nothing.
    for (const QByteArray& request :
         {QByteArray("message 10013 ") + QByteArray::number(first) + " 0",
          QByteArray("message 10001 10207 516"), QByteArray("message 10014 0 0"),
          QByteArray("action no-such-thing"), QByteArray("action"), QByteArray(""),
          QByteArray("action new-note extra"), QByteArray("action  new-note"),
          QByteArray("ACTION new-note"), QByteArray("action new-note\r"),
          QByteArray("action new\0note", 15), QByteArray("action new-note\xff")}) {
        EXPECT_FALSE(tray->handleRequest(request).empty()) << request.toStdString();
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(tray->noteCount(), notes);
    EXPECT_NE(tray->findNote(first), nullptr);
    EXPECT_EQ(tray->trayMenuOpenings(), 0);
    EXPECT_EQ(fakes.messages.shown.size(), boxes);

    EXPECT_EQ(tray->handleRequest("action new-note"), "");
    EXPECT_EQ(tray->handleRequest("action tray-menu"), "");
    QCoreApplication::processEvents();
    EXPECT_EQ(tray->noteCount(), notes + 1);
    EXPECT_EQ(tray->trayMenuOpenings(), 1);
    tray->trayMenu()->hide();
    EXPECT_EQ(tray->handleRequest("action hide-all"), "");
    QCoreApplication::processEvents();
    EXPECT_FALSE(tray->noteAt(0).isVisible());

    // Quitting is the application's to do in order; the tray only passes it on.
    EXPECT_EQ(tray->handleRequest("action quit"), "");
    QCoreApplication::processEvents();
    EXPECT_TRUE(endRequested);
    EXPECT_FALSE(exited);
}

TEST(TrayRequests, ActionsAskedForDuringSetUpAreCarriedOutAfterIt) {
    TempFolder folder;
    fake::FakePlatform fakes;
    CNotesDatabase store(fakes.platform());
    MainWindow tray(fakes.platform(), store, folder.path());
    EXPECT_TRUE(tray.performAction("new-note"));
    EXPECT_FALSE(tray.performAction("no-such-thing"));
    ASSERT_EQ(tray.initialize(), 1);
    const std::size_t loaded = tray.noteCount();
    QCoreApplication::processEvents();
    EXPECT_EQ(tray.noteCount(), loaded + 1);
}

// ---- About ---------------------------------------------------------------------------------

TEST_F(TrayTest, AboutShowsTheVersionAndItsLinkOpensTheWebSite) {
    std::string version;
    bool stillOpenAfterLink = false;
    fakes.modalDialogs.whileOpen = [&](QDialog& dialog) {
        auto& about = dynamic_cast<CAboutBox&>(dialog);
        version = about.versionField()->text().toStdString();
        EXPECT_TRUE(about.versionField()->isReadOnly());
        EXPECT_EQ(about.windowTitle(), "Brightpost");
        EXPECT_EQ(about.productLink()->text(), "Bright Post");
        EXPECT_EQ(about.notice()->text().count('\n'), 1);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(about.productLink(), &release);
        stillOpenAfterLink = !about.isHidden() || about.result() == 0;
        return 1;
    };
    tray->showAbout();
    EXPECT_EQ(version, "Brightpost version 1.3.0");
    EXPECT_EQ(fakes.shell.opened, (std::vector<std::string>{"https://brightpost.org"}));
    EXPECT_TRUE(stillOpenAfterLink);
    EXPECT_FALSE(tray->isBusy());
}

}  // namespace

// The program's icons live in the static application library, whose resources are pulled in
// by hand.
void initBrightpostResources();

namespace {

class ResourcesEnvironment : public ::testing::Environment {
public:
    void SetUp() override { initBrightpostResources(); }
};

[[maybe_unused]] ::testing::Environment* const kResources =
    ::testing::AddGlobalTestEnvironment(new ResourcesEnvironment);

}  // namespace
