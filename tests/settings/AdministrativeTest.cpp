// "Brightpost Settings" shown offscreen over a real database, with the fake desktop.
#include "SettingsFixture.h"
#include "platform/Messages.h"
#include "settings/AppSettingsDialog.h"
#include "settings/HotKeyEdit.h"

#include <QCheckBox>
#include <QComboBox>

#include <cstdlib>

namespace bp::test {
namespace {

using fake::ShownBox;

class AppSettings : public SettingsFixture {
protected:
    std::unique_ptr<AppSettingsDialog> open() {
        return std::make_unique<AppSettingsDialog>(
            store, fakes.messages, owner,
            [this](int id, std::uint32_t value) { registered.emplace_back(id, value); }, nullptr,
            &fakes.speech);
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

TEST_F(AppSettings, AutoSaveInRangeIsStoredAndAnnouncedOnlyWhenItChanged) {
    struct Case {
        const char* typed;
        bool taken;
        bool announced;
    };
    // The interval is set without the keyboard here, so OK itself has to refuse what no key
    // could type.
    const Case cases[] = {
        {"15", true, false}, {"30", true, true},     {"5", true, true},     {"999", true, true},
        {"2", false, false}, {"5000", false, false}, {"abc", false, false}, {"x2", false, false},
        {"", false, false},  {"-7", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        setting::set(store, setting::autoSave, 15);
        owner.calls.clear();
        fakes.messages.shown.clear();
        const std::string before = store.WholeText();
        auto dialog = open();
        control<CNumberField>(*dialog, "autoSave")->edit()->setText(c.typed);
        dialog->accept();
        EXPECT_EQ(dialog->result() == QDialog::Accepted, c.taken);
        EXPECT_EQ(setting::get(store, setting::autoSave), c.taken ? std::atoi(c.typed) : 15);
        EXPECT_EQ(owner.count(RecordingOwner::Kind::AutoSaveIntervalChanged), c.announced ? 1 : 0);
        EXPECT_EQ(questions(), 0);
        if (!c.taken) {
            EXPECT_EQ(store.WholeText(), before) << "a refused number changes nothing stored";
            ASSERT_EQ(fakes.messages.shown.size(), 1u);
            EXPECT_EQ(fakes.messages.shown[0].text,
                      "Auto save must be a number from 5 to 999.\n"
                      "The field is back at its number from before.");
            EXPECT_EQ(control<CNumberField>(*dialog, "autoSave")->edit()->text(), "15");
        }
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
    EXPECT_EQ(setting::get(store, setting::deleteMode), 0);
    EXPECT_EQ(setting::get(store, setting::deleteMax), 25);  // the capacity of a bin that is off
}

TEST_F(AppSettings, SwitchingTheBinOffKeepsItsNotesOnNoAndAsksNothingWhenItIsEmpty) {
    {
        auto dialog = open();
        control<QCheckBox>(*dialog, "deleteMode")->setChecked(false);
        dialog->accept();
        EXPECT_EQ(questions(), 0);
        EXPECT_EQ(setting::get(store, setting::deleteMode), 0);
    }
    setting::set(store, setting::deleteMode, 1);
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
    control<CNumberField>(*dialog, "deleteMax")->edit()->setText("1200");
    control<QCheckBox>(*dialog, "backupMode")->setChecked(false);
    control<CNumberField>(*dialog, "backupMax")->edit()->setText("3");
    dialog->accept();
    EXPECT_EQ(setting::get(store, setting::openManager), 0);
    EXPECT_EQ(setting::get(store, setting::move), 1);
    EXPECT_EQ(setting::get(store, setting::showNotesMode), 2);
    EXPECT_EQ(setting::get(store, setting::deleteMax), 1200);
    EXPECT_EQ(setting::get(store, setting::backupMode), 0);
    EXPECT_EQ(setting::get(store, setting::backupMax), 25);  // not written while backups are off
}

// Start at log-in, the reading voice, the alarm beep, alarms as notifications and the e-mail
// signature: each shows what is stored,
// OK writes what the control shows, and a value back at its default leaves the file as a new
// database wrote it.
TEST_F(AppSettings, LogInVoiceAndSignatureRoundTrip) {
    fakes.speech.offeredVoices = {"Alan", "Kal", "Slt"};
    const std::string fresh = store.WholeText();
    struct Case {
        const char* what;
        bool autorun;
        const char* voice;  // as the combo's data: empty for the engine's own
        bool signature;
        int beepRepeat;
        bool notifications;
    };
    const Case cases[] = {
        {"all changed", false, "Slt", false, 1, false},
        {"again, unchanged", false, "Slt", false, 1, false},
        {"one back", true, "Slt", false, 1, false},
        {"all back", true, "", true, 0, true},
    };
    bool autorunBefore = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        owner.calls.clear();
        auto dialog = open();
        auto* autorun = control<QCheckBox>(*dialog, "autorun");
        auto* voice = control<QComboBox>(*dialog, "speechVoice");
        auto* signature = control<QCheckBox>(*dialog, "mailSignature");
        auto* beep = control<QComboBox>(*dialog, "alarmBeepRepeat");
        EXPECT_FALSE(beep->accessibleName().isEmpty());
        auto* notifications = control<QCheckBox>(*dialog, "alarmNotifications");
        EXPECT_EQ(notifications->accessibleName(), "Show alarms as desktop notifications");
        EXPECT_EQ(autorun->isChecked(), autorunBefore);
        EXPECT_FALSE(autorun->isHidden());
        EXPECT_FALSE(voice->isHidden()) << "the engine offers several voices";
        EXPECT_EQ(voice->count(), 4);
        autorun->setChecked(c.autorun);
        voice->setCurrentIndex(voice->findData(QString::fromUtf8(c.voice)));
        signature->setChecked(c.signature);
        beep->setCurrentIndex(beep->findData(c.beepRepeat));
        notifications->setChecked(c.notifications);
        dialog->accept();
        ASSERT_EQ(dialog->result(), QDialog::Accepted);
        EXPECT_EQ(setting::get(store, setting::autorun), c.autorun ? 1 : 0);
        EXPECT_EQ(setting::get(store, setting::speechVoice), c.voice);
        EXPECT_EQ(setting::get(store, setting::mailSignature), c.signature ? 1 : 0);
        EXPECT_EQ(setting::get(store, setting::alarmBeepRepeat), c.beepRepeat);
        EXPECT_EQ(setting::get(store, setting::alarmNotifications), c.notifications ? 1 : 0);
        EXPECT_EQ(owner.count(RecordingOwner::Kind::AutostartChanged),
                  c.autorun != autorunBefore ? 1 : 0)
            << "the autostart entry follows a change at once";
        autorunBefore = c.autorun;

        auto reopened = open();
        EXPECT_EQ(control<QComboBox>(*reopened, "speechVoice")->currentData().toString(), c.voice);
        EXPECT_EQ(control<QCheckBox>(*reopened, "mailSignature")->isChecked(), c.signature);
        EXPECT_EQ(control<QComboBox>(*reopened, "alarmBeepRepeat")->currentData().toInt(),
                  c.beepRepeat);
        EXPECT_EQ(control<QCheckBox>(*reopened, "alarmNotifications")->isChecked(),
                  c.notifications);
    }
    EXPECT_EQ(store.WholeText(), fresh);
}

TEST_F(AppSettings, VoiceChoiceOnlyWhereTheEngineOffersSeveral) {
    for (const std::vector<std::string>& offered :
         {std::vector<std::string>{}, std::vector<std::string>{"Kal"}}) {
        fakes.speech.offeredVoices = offered;
        auto dialog = open();
        EXPECT_TRUE(control<QComboBox>(*dialog, "speechVoice")->isHidden());
        dialog->accept();
        EXPECT_EQ(setting::get(store, setting::speechVoice), "");
    }
    // A voice chosen before and no longer offered stays chosen until another is picked.
    setting::set(store, setting::speechVoice, std::string("Gone"));
    auto dialog = open();
    EXPECT_EQ(control<QComboBox>(*dialog, "speechVoice")->currentData().toString(), "Gone");
    dialog->accept();
    EXPECT_EQ(setting::get(store, setting::speechVoice), "Gone");
}

TEST_F(AppSettings, TypedShowNotesModeThatIsNoEntryLeavesTheSetting) {
    setting::set(store, setting::showNotesMode, 1);
    auto dialog = open();
    auto* combo = control<QComboBox>(*dialog, "showNotesMode");
    EXPECT_EQ(combo->currentText(), "Show all notes");
    combo->setEditText("Show some notes");
    dialog->accept();
    EXPECT_EQ(setting::get(store, setting::showNotesMode), 1);
}

TEST_F(AppSettings, NumberFieldsTakeDigitsOnlyShowTheirRangeAndRefuseNumbersOutsideIt) {
    struct Field {
        setting::Key<int> key;
        int minimum;
        int maximum;
        const char* refusal;
    };
    const Field autoSave{setting::autoSave, 5, 999, "Auto save must be a number from 5 to 999."};
    const Field capacity{setting::deleteMax, 1, 9999,
                         "Recycle Bin Capacity must be a number from 1 to 9999."};
    const Field backups{setting::backupMax, 1, 9999,
                        "Backups kept must be a number from 1 to 9999."};
    struct Case {
        const Field& field;
        const char* typed;  // key by key into the emptied field, then Tab
        const char* shown;  // afterwards, and what OK stores
        int refusals;
    };
    const Case cases[] = {
        {autoSave, "x2", "15", 2},  // the letter, then a number below the range
        {autoSave, "1000", "15", 1},  {autoSave, "", "15", 1},
        {autoSave, "999", "999", 0},  {capacity, "0", "25", 1},
        {capacity, "12000", "25", 1}, {capacity, "-5", "5", 1},  // the sign never enters
        {capacity, "1", "1", 0},      {backups, "3 x", "3", 2},
        {backups, "9999", "9999", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field.key.name) + " " + c.typed);
        setting::set(store, setting::autoSave, 15);
        setting::set(store, setting::deleteMax, 25);
        setting::set(store, setting::backupMax, 25);
        auto dialog = open();
        showActive(*dialog);
        auto* field = control<CNumberField>(*dialog, c.field.key.name.data());
        expectRange(field, c.field.minimum, c.field.maximum);
        const QStringList reasons = typeIntoEmptyAndLeave(field, c.typed);
        EXPECT_EQ(field->edit()->text(), c.shown);
        EXPECT_EQ(reasons.size(), c.refusals);
        for (const QString& reason : reasons) {
            EXPECT_EQ(reason, c.field.refusal);
        }
        dialog->accept();
        EXPECT_EQ(dialog->result(), QDialog::Accepted);
        EXPECT_EQ(setting::get(store, c.field.key), std::atoi(c.shown));
    }
}

TEST_F(AppSettings, OkClickedOverNumbersOutOfRangeSaysSoAndStoresNothing) {
    const std::string before = store.WholeText();
    auto dialog = open();
    showActive(*dialog);
    auto* autoSave = control<CNumberField>(*dialog, "autoSave");
    control<CNumberField>(*dialog, "deleteMax")->edit()->setText("0");
    autoSave->edit()->setFocus();
    autoSave->edit()->clear();
    QTest::keyClicks(autoSave->edit(), "2");
    clickOk(*dialog);

    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(store.WholeText(), before);
    EXPECT_TRUE(registered.empty());
    EXPECT_TRUE(owner.calls.empty());
    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    const ShownBox& told = fakes.messages.shown[0];
    EXPECT_EQ(told.caption, "Brightpost Settings");
    EXPECT_EQ(told.text,
              "Auto save must be a number from 5 to 999.\n"
              "Recycle Bin Capacity must be a number from 1 to 9999.\n"
              "The fields are back at their numbers from before.");
    EXPECT_EQ(told.iconId, res::ICON_WARNING);
    EXPECT_EQ(autoSave->edit()->text(), "15");
    EXPECT_EQ(control<CNumberField>(*dialog, "deleteMax")->edit()->text(), "25");
    EXPECT_TRUE(autoSave->edit()->hasFocus());

    // Enter over a refused number keeps the dialog open as well.
    QTest::keyClicks(autoSave->edit(), "0");
    EXPECT_EQ(autoSave->edit()->text(), "0");
    QTest::keyClick(autoSave->edit(), Qt::Key_Return);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(autoSave->edit()->text(), "15");

    clickOk(*dialog);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(setting::get(store, setting::autoSave), 15);
    EXPECT_EQ(setting::get(store, setting::deleteMax), 25);
}

TEST_F(AppSettings, CountFieldsFollowTheirCheckBoxes) {
    auto dialog = open();
    auto* capacity = control<CNumberField>(*dialog, "deleteMax");
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
    EXPECT_EQ(setting::get(store, setting::hkNewNote), k);
    EXPECT_LT(setting::get(store, setting::hkHideAll), 65536u);
    EXPECT_EQ(setting::get(store, setting::hkShowAttach), 4259846u);
    EXPECT_EQ(setting::get(store, setting::hkShowManager), pageDown);
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

TEST_F(AppSettings, AKeyAnotherActionHoldsMovesOnlyWhenTheUserSaysSo) {
    const std::uint32_t ctrlAltN = 'N' * 65536u + 6;
    const std::uint32_t ctrlAltS = 'S' * 65536u + 6;
    for (const bool yes : {true, false}) {
        SCOPED_TRACE(yes ? "yes" : "no");
        fakes.messages.shown.clear();
        fakes.messages.answers = {yes};
        registered.clear();
        auto dialog = open();
        showActive(*dialog);
        auto* newNote = control<CHotKeyEdit>(*dialog, "hkNewNote");
        auto* showAll = control<CHotKeyEdit>(*dialog, "hkShowAll");
        newNote->setFocus();
        QTest::keyClick(newNote, Qt::Key_S, Qt::ControlModifier | Qt::AltModifier);

        ASSERT_EQ(questions(), 1);
        const ShownBox& asked = fakes.messages.shown[0];
        EXPECT_EQ(asked.caption, "Hot Keys");
        EXPECT_EQ(asked.text,
                  "Ctrl + Alt + S is already the key of Show All Notes. Use it for New Note "
                  "instead?");
        EXPECT_EQ(newNote->text(), yes ? "Ctrl + Alt + S" : "Ctrl + Alt + N");
        EXPECT_EQ(showAll->text(), yes ? "None" : "Ctrl + Alt + S");
        dialog->accept();
        EXPECT_EQ(dialog->result(), QDialog::Accepted);
        EXPECT_EQ(setting::get(store, setting::hkNewNote), yes ? ctrlAltS : ctrlAltN);
        EXPECT_EQ(setting::get(store, setting::hkShowAll) >= 65536u, !yes);
        EXPECT_EQ(registered[1], std::make_pair(int(hotkey::SHOW_ALL), yes ? 0u : ctrlAltS));
        setting::set(store, setting::hkNewNote, ctrlAltN);
        setting::set(store, setting::hkShowAll, ctrlAltS);
    }
}

TEST_F(AppSettings, NoQuestionForAKeyNoOtherActionHolds) {
    auto dialog = open();
    showActive(*dialog);
    auto* newNote = control<CHotKeyEdit>(*dialog, "hkNewNote");
    newNote->setFocus();
    // Its own key again; a free one; the attach panel's, which nothing grabs or acts on; the
    // keypad twin of another action's navigation key.
    auto* manager = control<CHotKeyEdit>(*dialog, "hkShowManager");
    manager->setValue(0x24 * 65536u + 6 + 8);  // Ctrl + Alt + Home
    const std::pair<Qt::Key, Qt::KeyboardModifiers> presses[] = {
        {Qt::Key_N, Qt::ControlModifier | Qt::AltModifier},
        {Qt::Key_Q, Qt::ControlModifier | Qt::AltModifier},
        {Qt::Key_A, Qt::ControlModifier | Qt::AltModifier},
        {Qt::Key_Home, Qt::ControlModifier | Qt::AltModifier | Qt::KeypadModifier},
    };
    for (const auto& [key, modifiers] : presses) {
        QTest::keyClick(newNote, key, modifiers);
    }
    EXPECT_EQ(questions(), 0);
    EXPECT_EQ(newNote->value(), 0x24 * 65536u + 6);
    EXPECT_EQ(manager->value(), 0x24 * 65536u + 6 + 8);
}

TEST_F(AppSettings, OkNeverStoresOneKeyForTwoActions) {
    // Two actions may come with one key from an older database.
    setting::set(store, setting::hkHideAll, setting::get(store, setting::hkShowAll));
    const std::string before = store.WholeText();
    auto dialog = open();
    showActive(*dialog);
    dialog->accept();
    EXPECT_NE(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(store.WholeText(), before);
    EXPECT_TRUE(registered.empty());
    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    EXPECT_EQ(fakes.messages.shown[0].text,
              "Ctrl + Alt + S is the key of both Show All Notes and Hide All Notes. Give one of "
              "them another key.");
    auto* hideAll = control<CHotKeyEdit>(*dialog, "hkHideAll");
    EXPECT_TRUE(hideAll->hasFocus());
    QTest::keyClick(hideAll, Qt::Key_Backspace);
    dialog->accept();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_LT(setting::get(store, setting::hkHideAll), 65536u);
}

}  // namespace
}  // namespace bp::test
