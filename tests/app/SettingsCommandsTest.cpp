// The tray's "App Settings" and "Notes Settings": the dialogs run while the program is busy,
// their changes are saved and are in force at once.
#include "app/MainWindow.h"
#include "note/Note.h"
#include "platform/Messages.h"
#include "platform/fake/FakePlatform.h"
#include "settings/AppSettingsDialog.h"
#include "settings/HotKeyEdit.h"
#include "settings/NotesSettingsDialog.h"
#include "settings/NumberField.h"
#include "store/SettingsByName.h"
#include "support/StoreFixture.h"
#include "support/TestFiles.h"
#include "ui/NoteDialogs.h"
#include "ui/NoteStyle.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace bp;
using namespace bp::test;

namespace {

struct OneColour : INoteDialogs {
    std::optional<QColor> chooseColor(QWidget*, const QColor&) override { return color; }
    std::optional<FontChoice> chooseFont(QWidget*, const FontChoice&) override {
        return std::nullopt;
    }
    bool runParagraph(CParagraph&) override { return false; }
    QColor color;
};

class SettingsCommands : public ::testing::Test, public StoreFixture {
protected:
    SettingsCommands() : StoreFixture(Open::ByTheProgram) {
        fakes.clock.set(2024, 5, 6, 7, 8, 9);
        tray = std::make_unique<MainWindow>(fakes.platform(), store, folder.path());
        tray->setNoteDialogs(&choosers);
        EXPECT_EQ(tray->initialize(), 1);
    }
    // Opens the settings dialog as its tray command does, with the user's part done by answer,
    // which returns the result.
    template <typename Dialog>
    void run(void (MainWindow::*open)(), std::function<int(Dialog&)> answer) {
        int shown = 0;
        fakes.modalDialogs.whileOpen = [&](QDialog& dialog) {
            ++shown;
            EXPECT_TRUE(tray->isBusy());
            auto* settings = qobject_cast<Dialog*>(&dialog);
            EXPECT_NE(settings, nullptr);
            return settings != nullptr ? answer(*settings) : 0;
        };
        (tray.get()->*open)();
        EXPECT_EQ(shown, 1);
        EXPECT_FALSE(tray->isBusy());
    }
    // A setting as the saved file holds it.
    std::string savedSetting(const std::string& name) const {
        fake::FakePlatform quiet;
        CNotesDatabase saved(quiet.platform());
        saved.SetDataFolder(folder.path());
        EXPECT_TRUE(saved.OpenDatabase(kOpenSilent));
        return SettingsByName(saved).GetSettingString(name);
    }

    OneColour choosers;
    std::unique_ptr<MainWindow> tray;
};

TEST_F(SettingsCommands, ChangedHotKeysAreInForceAtOnceAndSaved) {
    ASSERT_TRUE(fakes.hotKeys.registered.contains(hotkey::NEW_NOTE));
    run<AppSettingsDialog>(&MainWindow::showAppSettings, [](AppSettingsDialog& dialog) {
        dialog.findChild<CHotKeyEdit*>("hkNewNote")->setValue(75 * 65536 + 6);
        dialog.findChild<CHotKeyEdit*>("hkHideAll")->setValue(0);
        dialog.findChild<CNumberField*>("autoSave")->edit()->setText("30");
        dialog.accept();
        return dialog.result();
    });
    using Key = fake::FakeHotKeys::Key;
    EXPECT_EQ(fakes.hotKeys.registered[hotkey::NEW_NOTE],
              (Key{IHotKeys::Ctrl | IHotKeys::Alt, 75}));
    EXPECT_FALSE(fakes.hotKeys.registered.contains(hotkey::HIDE_ALL));
    // Nothing acts on the attach panel's key, so it takes no combination from anyone.
    EXPECT_FALSE(fakes.hotKeys.registered.contains(hotkey::SHOW_ATTACH));
    EXPECT_EQ(tray->autoSaveTimer().interval(), 30 * 60000);
    EXPECT_EQ(savedSetting("hkNewNote"), "4915206");
    EXPECT_EQ(savedSetting("hkHideAll"), "0");

    const std::size_t before = tray->noteCount();
    fakes.hotKeys.press(hotkey::NEW_NOTE);
    EXPECT_EQ(tray->noteCount(), before + 1);
}

TEST_F(SettingsCommands, KeysAreReleasedForTheControlsAndCancelTakesThemBack) {
    const auto before = fakes.hotKeys.registered;
    ASSERT_EQ(before.size(), 5u);  // four settings and the tray menu's key
    run<AppSettingsDialog>(&MainWindow::showAppSettings, [&](AppSettingsDialog& dialog) {
        EXPECT_TRUE(fakes.hotKeys.registered.empty());
        dialog.findChild<CHotKeyEdit*>("hkNewNote")->setValue(75 * 65536 + 6);
        dialog.reject();
        return dialog.result();
    });
    EXPECT_EQ(fakes.hotKeys.registered, before);
    EXPECT_EQ(setting::get(store, setting::hkNewNote), 5111814u);
}

TEST_F(SettingsCommands, CombinationAnotherProgramHoldsIsStoredAllTheSame) {
    fakes.hotKeys.heldElsewhere.insert(75);
    run<AppSettingsDialog>(&MainWindow::showAppSettings, [](AppSettingsDialog& dialog) {
        dialog.findChild<CHotKeyEdit*>("hkNewNote")->setValue(75 * 65536 + 6);
        dialog.accept();
        return dialog.result();
    });
    EXPECT_FALSE(fakes.hotKeys.registered.contains(hotkey::NEW_NOTE));
    EXPECT_TRUE(fakes.hotKeys.registered.contains(hotkey::SHOW_ALL));
    EXPECT_EQ(savedSetting("hkNewNote"), "4915206");
}

TEST_F(SettingsCommands, HotKeysArePressedInVainWhileADialogIsOpen) {
    const std::size_t before = tray->noteCount();
    run<AppSettingsDialog>(&MainWindow::showAppSettings, [&](AppSettingsDialog&) {
        fakes.hotKeys.press(hotkey::NEW_NOTE);
        return 0;
    });
    EXPECT_EQ(tray->noteCount(), before);
    run<NotesSettingsDialog>(&MainWindow::showNotesSettings, [&](NotesSettingsDialog&) {
        fakes.hotKeys.press(hotkey::NEW_NOTE);
        return 0;
    });
    EXPECT_EQ(tray->noteCount(), before);
}

TEST_F(SettingsCommands, NextNewNoteTakesTheNewDefaults) {
    choosers.color = QColor(20, 200, 90);
    run<NotesSettingsDialog>(&MainWindow::showNotesSettings, [](NotesSettingsDialog& dialog) {
        dialog.findChild<QCheckBox*>("RandomColors")->setChecked(false);
        dialog.findChild<QPushButton*>("color")->click();
        dialog.findChild<QComboBox*>("TitleDefaults")->setCurrentIndex(0);
        dialog.findChild<QLineEdit*>("TitleText")->clear();
        dialog.findChild<CNumberField*>("Width")->edit()->setText("321");
        dialog.accept();
        return dialog.result();
    });
    const std::string colour = std::to_string(20 + 200 * 256 + 90 * 65536);
    EXPECT_EQ(savedSetting("bodyBackColor"), colour);
    EXPECT_EQ(savedSetting("RandomColors"), "0");

    ASSERT_EQ(tray->createNewNote(), 1);
    const std::int32_t nid = tray->noteAt(tray->noteCount() - 1).nid();
    EXPECT_EQ(store.GetNoteUInt(kLiveSource, nid, "bodyBackColor"), std::stoul(colour));
    EXPECT_EQ(store.GetNoteUInt(kLiveSource, nid, "titleBackColor"), std::stoul(colour));
    EXPECT_EQ(store.GetNoteInt(kLiveSource, nid, "Width"), 321);
    // No date and no text: the title is the blank that joins them.
    EXPECT_EQ(store.GetNoteString(kLiveSource, nid, "title"), " ");
}

TEST_F(SettingsCommands, OpenNotesTakeTheNewMinimumSizeButKeepTheirOwnSize) {
    ASSERT_GE(tray->noteCount(), 1u);
    CNote& note = tray->noteAt(0);
    const QSize size = note.size();
    ASSERT_GT(size.width(), 200);
    ASSERT_LT(size.height(), 300);
    struct Case {
        int minWidth;
        int minHeight;
        QSize limits;
    };
    const Case cases[] = {
        {200, 100, QSize(200, 100)},
        {400, 72, QSize(size.width(), 72)},  // narrower than the new minimum: kept as it is
        {150, 300, QSize(150, size.height())},
    };
    for (const Case& c : cases) {
        run<NotesSettingsDialog>(&MainWindow::showNotesSettings, [&](NotesSettingsDialog& dialog) {
            dialog.findChild<CNumberField*>("minWidth")->setValue(c.minWidth);
            dialog.findChild<CNumberField*>("minHeight")->setValue(c.minHeight);
            dialog.accept();
            return dialog.result();
        });
        EXPECT_EQ(note.minimumSize(), c.limits) << c.minWidth << " x " << c.minHeight;
        EXPECT_EQ(note.size(), size);
        EXPECT_EQ(store.GetNoteInt(kLiveSource, note.nid(), "Width"), size.width());
    }
}

}  // namespace
