// "Brightpost Settings" shown offscreen over a real database, with the fake desktop.
#include "SettingsFixture.h"
#include "platform/Messages.h"
#include "settings/Administrative.h"
#include "settings/HotKeyEdit.h"

#include <QCheckBox>
#include <QComboBox>

namespace bp::test {
namespace {

using fake::ShownBox;

class AppSettings : public SettingsFixture {
protected:
    std::unique_ptr<CAdministrative> open() {
        return std::make_unique<CAdministrative>(
            store, fakes.messages, owner,
            [this](int id, std::uint32_t value) { registered.emplace_back(id, value); });
    }
    int questions() const {
        return static_cast<int>(std::count_if(
            fakes.messages.shown.begin(), fakes.messages.shown.end(),
            [](const ShownBox& box) { return box.kind == ShownBox::Kind::Question; }));
    }
    std::vector<std::int32_t> putInBin(int count) {
        std::vector<std::int32_t> nids;
        for (int i = 0; i < count; ++i) {
            nids.push_back(store.NewNote());
            store.SetNoteDeleted(nids.back(), 1);
        }
        return nids;
    }

    std::size_t noteRecords() const {
        const std::string notes = store.NotesSection();
        std::size_t count = 0;
        for (std::size_t at = notes.find("<note "); at != std::string::npos;
             at = notes.find("<note ", at + 1)) {
            ++count;
        }
        return count;
    }

    std::vector<std::pair<int, std::uint32_t>> registered;
};

TEST_F(AppSettings, AutoSaveIsClampedOnOkAndAnnouncedOnlyWhenItChanged) {
    struct Case {
        const char* typed;
        int stored;
        bool announced;
    };
    const Case cases[] = {
        {"2", 5, true}, {"5000", 999, true}, {"15", 15, false}, {"abc", 5, true}, {"30", 30, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        store.SetSettingInt(15, "autoSave");
        owner.sent.clear();
        auto dialog = open();
        control<CNumberField>(*dialog, "autoSave")->edit()->setText(c.typed);
        dialog->accept();
        EXPECT_EQ(dialog->result(), QDialog::Accepted);
        EXPECT_EQ(store.GetSettingInt("autoSave"), c.stored);
        EXPECT_EQ(sentMessages(msg::WM_AUTOSAVE_CHANGED),
                  c.announced ? std::vector<int>{1} : std::vector<int>{});
        EXPECT_EQ(questions(), 0);
    }
}

TEST_F(AppSettings, SwitchingTheBinOffAsksOnceAndYesDeletesItsNotesForGood) {
    const std::vector<std::int32_t> inBin = putInBin(3);
    const std::size_t notesBefore = noteRecords();
    fakes.messages.answers = {true};
    auto dialog = open();
    control<QCheckBox>(*dialog, "deleteMode")->setChecked(false);
    control<CNumberField>(*dialog, "deleteMax")->edit()->setText("77");
    dialog->accept();

    ASSERT_EQ(questions(), 1);
    const ShownBox& asked = fakes.messages.shown.front();
    EXPECT_EQ(asked.caption, "Recycle Bin");
    EXPECT_EQ(asked.text, "Recycle Bin is not empty. Do you want clean it?");
    EXPECT_EQ(asked.iconId, res::ICON_QUESTION);
    EXPECT_EQ(store.ListDeletedNotes(), std::nullopt);
    EXPECT_EQ(noteRecords(), notesBefore - 3);
    EXPECT_EQ(store.GetSettingInt("deleteMode"), 0);
    EXPECT_EQ(store.GetSettingInt("deleteMax"), 25);  // the capacity of a bin that is off
}

TEST_F(AppSettings, SwitchingTheBinOffKeepsItsNotesOnNoAndAsksNothingWhenItIsEmpty) {
    {
        auto dialog = open();
        control<QCheckBox>(*dialog, "deleteMode")->setChecked(false);
        dialog->accept();
        EXPECT_EQ(questions(), 0);
        EXPECT_EQ(store.GetSettingInt("deleteMode"), 0);
    }
    store.SetSettingInt(1, "deleteMode");
    const std::vector<std::int32_t> inBin = putInBin(2);
    fakes.messages.answers = {false};
    auto dialog = open();
    control<QCheckBox>(*dialog, "deleteMode")->setChecked(false);
    dialog->accept();
    EXPECT_EQ(questions(), 1);
    EXPECT_EQ(store.ListDeletedNotes(), std::optional<IdList>(IdList(inBin.begin(), inBin.end())));
}

TEST_F(AppSettings, CancelAsksOnlyAboutTheBinAndTheStartUpManager) {
    const std::string before = store.WholeText();
    {
        // Changes to the other settings are dropped without a question.
        auto dialog = open();
        control<CNumberField>(*dialog, "autoSave")->edit()->setText("60");
        control<QCheckBox>(*dialog, "move")->setChecked(true);
        dialog->reject();
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
        EXPECT_EQ(questions(), 0);
    }
    for (const char* changed : {"deleteMode", "openManager", "deleteMax"}) {
        SCOPED_TRACE(changed);
        fakes.messages.shown.clear();
        auto dialog = open();
        showActive(*dialog);
        if (std::string(changed) == "deleteMax") {
            control<CNumberField>(*dialog, changed)->edit()->setText("40");
        } else {
            control<QCheckBox>(*dialog, changed)->toggle();
        }
        fakes.messages.answers = {false, true};
        dialog->reject();
        EXPECT_TRUE(dialog->isVisible()) << "No keeps the dialog open";
        dialog->reject();
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
        ASSERT_EQ(questions(), 2);
        EXPECT_EQ(fakes.messages.shown[0].caption, "Warning");
        EXPECT_EQ(fakes.messages.shown[0].text, "Discard changes?");
    }
    EXPECT_EQ(store.WholeText(), before);
    EXPECT_TRUE(registered.empty());
}

TEST_F(AppSettings, OkWritesWhatTheControlsShow) {
    auto dialog = open();
    control<QCheckBox>(*dialog, "openManager")->setChecked(false);
    control<QCheckBox>(*dialog, "move")->setChecked(true);
    control<QComboBox>(*dialog, "showNotesMode")->setCurrentIndex(2);
    control<CNumberField>(*dialog, "deleteMax")->edit()->setText("12000");
    control<QCheckBox>(*dialog, "backupMode")->setChecked(false);
    control<CNumberField>(*dialog, "backupMax")->edit()->setText("3");
    dialog->accept();
    EXPECT_EQ(store.GetSettingInt("openManager"), 0);
    EXPECT_EQ(store.GetSettingInt("move"), 1);
    EXPECT_EQ(store.GetSettingInt("showNotesMode"), 2);
    EXPECT_EQ(store.GetSettingInt("deleteMax"), 9999);
    EXPECT_EQ(store.GetSettingInt("backupMode"), 0);
    EXPECT_EQ(store.GetSettingInt("backupMax"), 25);  // not written while backups are off
}

TEST_F(AppSettings, TypedShowNotesModeThatIsNoEntryLeavesTheSetting) {
    store.SetSettingInt(1, "showNotesMode");
    auto dialog = open();
    auto* combo = control<QComboBox>(*dialog, "showNotesMode");
    EXPECT_EQ(combo->currentText(), "Show all notes");
    combo->setEditText("Show some notes");
    dialog->accept();
    EXPECT_EQ(store.GetSettingInt("showNotesMode"), 1);
}

TEST_F(AppSettings, CountsAreClampedWhenTheFieldIsLeftAndFollowTheirCheckBoxes) {
    auto dialog = open();
    showActive(*dialog);
    auto* capacity = control<CNumberField>(*dialog, "deleteMax");
    const std::pair<const char*, const char*> cases[] = {
        {"0", "1"}, {"12000", "9999"}, {"x", "1"}, {"-5", "1"}, {"40", "40"}};
    for (const auto& [typed, shown] : cases) {
        typeAndLeave(capacity, typed);
        EXPECT_EQ(capacity->edit()->text(), shown) << typed;
    }
    // The auto-save interval waits for OK.
    auto* autoSave = control<CNumberField>(*dialog, "autoSave");
    typeAndLeave(autoSave, "2");
    EXPECT_EQ(autoSave->edit()->text(), "2");

    control<QCheckBox>(*dialog, "deleteMode")->setChecked(false);
    control<QCheckBox>(*dialog, "backupMode")->setChecked(false);
    EXPECT_FALSE(capacity->isEnabled());
    EXPECT_FALSE(control<CNumberField>(*dialog, "backupMax")->isEnabled());
    control<QCheckBox>(*dialog, "backupMode")->setChecked(true);
    EXPECT_TRUE(control<CNumberField>(*dialog, "backupMax")->isEnabled());
    EXPECT_FALSE(capacity->isEnabled());
}

TEST_F(AppSettings, HotKeysAreRegisteredAgainInTheirOrderAndStoredAsPressed) {
    auto dialog = open();
    showActive(*dialog);
    auto* newNote = control<CHotKeyEdit>(*dialog, "hkNewNote");
    EXPECT_EQ(newNote->text(), "Ctrl + Alt + N");
    EXPECT_FALSE(control<CHotKeyEdit>(*dialog, "hkShowAttach")->isVisible());
    newNote->setFocus();
    QTest::keyClick(newNote, Qt::Key_K, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(newNote->text(), "Ctrl + Alt + K");
    auto* hideAll = control<CHotKeyEdit>(*dialog, "hkHideAll");
    hideAll->setFocus();
    QTest::keyClick(hideAll, Qt::Key_Backspace);
    EXPECT_EQ(hideAll->text(), "None");
    auto* manager = control<CHotKeyEdit>(*dialog, "hkShowManager");
    manager->setFocus();
    QTest::keyClick(manager, Qt::Key_PageDown, Qt::ControlModifier | Qt::ShiftModifier);
    dialog->accept();

    const std::uint32_t k = 75 * 65536 + 6;
    const std::uint32_t pageDown = 0x22 * 65536 + 2 + 1 + 8;
    EXPECT_EQ(registered, (std::vector<std::pair<int, std::uint32_t>>{
                              {hotkey::NEW_NOTE, k},
                              {hotkey::SHOW_ALL, 5439494},
                              {hotkey::HIDE_ALL, 0},
                              {hotkey::SHOW_ATTACH, 4259846},
                              {hotkey::TOGGLE_MANAGER, pageDown},
                          }));
    EXPECT_EQ(store.GetSettingUInt("hkNewNote"), k);
    EXPECT_LT(store.GetSettingUInt("hkHideAll"), 65536u);
    EXPECT_EQ(store.GetSettingUInt("hkShowAttach"), 4259846u);
    EXPECT_EQ(store.GetSettingUInt("hkShowManager"), pageDown);
}

TEST_F(AppSettings, HotKeyControlTakesOneCombinationAndLeavesDialogKeysAlone) {
    auto dialog = open();
    showActive(*dialog);
    auto* edit = control<CHotKeyEdit>(*dialog, "hkShowAll");
    edit->setFocus();
    // Modifiers alone show what is held, and the combination comes back when they are let go.
    QTest::keyPress(edit, Qt::Key_Control, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), "Ctrl + ");
    QTest::keyRelease(edit, Qt::Key_Control, Qt::NoModifier);
    EXPECT_EQ(edit->text(), "Ctrl + Alt + S");
    // Letting go of the modifiers after the key keeps the combination in view.
    QTest::keyPress(edit, Qt::Key_K, Qt::ControlModifier | Qt::AltModifier);
    QTest::keyRelease(edit, Qt::Key_K, Qt::ControlModifier | Qt::AltModifier);
    QTest::keyRelease(edit, Qt::Key_Control, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(edit->text(), "Ctrl + Alt + K");
    QTest::keyClick(edit, Qt::Key_F7);
    EXPECT_EQ(edit->text(), "F7");
    QTest::keyClick(edit, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(edit->value(), 0x09u * 65536 + 2);
    EXPECT_EQ(edit->text(), "Ctrl + Tab");
    // A plain Tab moves on.
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_FALSE(edit->hasFocus());
    EXPECT_EQ(edit->value(), 0x09u * 65536 + 2);
}

}  // namespace
}  // namespace bp::test
