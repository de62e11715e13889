#include "app/MainWindow.h"
#include "app/Welcome.h"
#include "platform/Messages.h"
#include "platform/fake/FakePlatform.h"
#include "support/StoreFixture.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>

#include <gtest/gtest.h>

#include <filesystem>

using namespace bp;
using namespace bp::test;
using bp::fake::ShownBox;

namespace {

class StickerTrayStartup : public ::testing::Test, public StoreFixture {
protected:
    StickerTrayStartup() : StoreFixture(Open::ByTheProgram) {
        fakes.clock.set(2024, 5, 6, 7, 8, 9);
    }

    std::unique_ptr<MainWindow> makeTray() {
        return std::make_unique<MainWindow>(fakes.platform(), store, folder.path());
    }
};

TEST_F(StickerTrayStartup, StartsTimersFromTheSettings) {
    auto tray = makeTray();
    ASSERT_EQ(tray->initialize(), 1);
    EXPECT_TRUE(tray->isInitialised());
    EXPECT_EQ(tray->trayTipTimer().interval(), 60000);
    EXPECT_EQ(tray->autoSaveTimer().interval(), 15 * 60000);
    EXPECT_TRUE(fakes.messages.shown.empty());
}

TEST_F(StickerTrayStartup, DamagedDatabaseIsReportedThenRestored) {
    writeFile(folder.file("Brightpost.dat"), withLengthPrefix("garbage"));
    auto tray = makeTray();
    ASSERT_EQ(tray->initialize(), 1);
    EXPECT_EQ(fakes.messages.shown,
              (std::vector<ShownBox>{
                  {ShownBox::Kind::StandardError, "Error", "", "Incorrect Brightpost.dat", 0},
                  {ShownBox::Kind::Message, "Warning", "",
                   "Unable to restore notes database. New database was created.", 205}}));
    EXPECT_FALSE(tray->isBusy());
    EXPECT_EQ(readFile(folder.file("corrupted_20240506070809.dat")), withLengthPrefix("garbage"));
}

// A logout while set-up still runs ends the program at once. Before a usable database is in
// place nothing is written; once it is, the exit saves as always.
TEST_F(StickerTrayStartup, SessionEndDuringSetUpEndsItAndSavesOnlyAUsableDatabase) {
    const std::string damaged = withLengthPrefix("garbage");
    auto tray = makeTray();
    bool exited = false;
    QObject::connect(tray.get(), &MainWindow::exited, [&] { exited = true; });
    auto endSession = [&] { tray->exitApplication(); };

    // While the damage is reported: the damaged file stays as it is, and no copy is made.
    writeFile(folder.file("Brightpost.dat"), damaged);
    fakes.messages.whileOpen = endSession;
    EXPECT_EQ(tray->initialize(), MainWindow::kEndedDuringSetUp);
    EXPECT_TRUE(exited);
    EXPECT_EQ(fakes.messages.shown.size(), 1u);
    EXPECT_EQ(readFile(folder.file("Brightpost.dat")), damaged);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);

    // While the recovery's result is shown: the recovered database is not saved again.
    tray = makeTray();
    fakes.messages.shown.clear();
    fakes.messages.whileOpen = [&] {
        if (fakes.messages.shown.size() == 2) {
            tray->exitApplication();
        }
    };
    EXPECT_EQ(tray->initialize(), MainWindow::kEndedDuringSetUp);
    EXPECT_EQ(readFile(folder.file("corrupted_20240506070809.dat")), damaged);
    EXPECT_TRUE(store.ListDatabaseFiles(folder.path(), 1).empty());

    // While the notes load: the rest are not started, and the exit backs up and saves.
    fakes.messages.whileOpen = nullptr;
    const std::string opened = readFile(folder.file("Brightpost.dat"));
    tray = makeTray();
    int asked = 0;
    tray->setSessionEnding([&] { return ++asked == 1; });
    EXPECT_EQ(tray->initialize(), MainWindow::kEndedDuringSetUp);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(tray->isExiting());
    EXPECT_EQ(tray->noteCount(), 0u);
    EXPECT_EQ(readFile(folder.file("copy_Brightpost_20240506070809.dat")), opened);
    EXPECT_EQ(readFile(folder.file("Brightpost.dat")), opened);
}

TEST_F(StickerTrayStartup, ExitBacksUpTheLastSaveThenSavesTheCurrentState) {
    auto tray = makeTray();
    ASSERT_EQ(tray->initialize(), 1);
    const std::string lastSaved = readFile(folder.file("Brightpost.dat"));
    store.SetNoteAttribute(1, "title", "changed since the last save");
    bool exited = false;
    QObject::connect(tray.get(), &MainWindow::exited, [&] { exited = true; });
    tray->exitApplication();
    EXPECT_TRUE(exited);
    EXPECT_EQ(readFile(folder.file("copy_Brightpost_20240506070809.dat")), lastSaved);
    EXPECT_NE(readFile(folder.file("Brightpost.dat")).find("changed since the last save"),
              std::string::npos);

    // With backups off the exit only saves.
    std::filesystem::remove(folder.file("copy_Brightpost_20240506070809.dat"));
    auto second = makeTray();
    ASSERT_EQ(second->initialize(), 1);
    setting::set(store, setting::backupMode, 0);
    second->exitApplication();
    EXPECT_TRUE(store.ListDatabaseFiles(folder.path(), 1).empty());
}

TEST_F(StickerTrayStartup, TrayNotificationsWaitForSetUpAndAreDroppedWhileExiting) {
    auto tray = makeTray();
    // Before set-up nothing happens, and nothing crashes without a tray icon.
    tray->trayIconContextMenu();
    ASSERT_EQ(tray->initialize(), 1);
    tray->exitApplication();
    tray->trayIconContextMenu();
    tray->exitApplication();  // a second exit request changes nothing
    EXPECT_TRUE(tray->isExiting());
}

// The welcome greets only the start that made the database, above the notes, and its check
// box turns starting at log-in off there and then.
TEST_F(StickerTrayStartup, WelcomeOnlyOnTheFirstStart) {
    struct WelcomeAllowed {
        WelcomeAllowed() { qunsetenv("BRIGHTPOST_NO_WELCOME"); }
        ~WelcomeAllowed() { qputenv("BRIGHTPOST_NO_WELCOME", "1"); }
    } allowed;
    const auto welcomes = [] {
        std::vector<WelcomeWindow*> shown;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* welcome = qobject_cast<WelcomeWindow*>(w); welcome && welcome->isVisible()) {
                shown.push_back(welcome);
            }
        }
        return shown;
    };
    {
        auto tray = makeTray();
        ASSERT_EQ(tray->initialize(), 1);
        const std::vector<WelcomeWindow*> shown = welcomes();
        ASSERT_EQ(shown.size(), 1u);
        WelcomeWindow& welcome = *shown[0];
        EXPECT_EQ(fakes.windows.stackingOf(&welcome), IWindowSystem::Stacking::Top);
        EXPECT_FALSE(welcome.autostartBox()->accessibleName().isEmpty());
        EXPECT_FALSE(welcome.closeButton()->accessibleName().isEmpty());
        ASSERT_TRUE(welcome.autostartBox()->isChecked());
        welcome.autostartBox()->click();
        EXPECT_EQ(setting::get(store, setting::autorun), 0);
        EXPECT_EQ(store.ListNotes(kLiveSource).size(), 3u) << "the sample notes, nothing more";
        welcome.closeButton()->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(welcomes().empty());
        ASSERT_TRUE(store.SaveDatabase(""));
    }
    auto again = makeTray();
    ASSERT_EQ(again->initialize(), 1);
    EXPECT_TRUE(welcomes().empty());
    EXPECT_EQ(setting::get(store, setting::autorun), 0);
}

}  // namespace
