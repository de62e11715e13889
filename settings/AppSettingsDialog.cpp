#include "AppSettingsDialog.h"

#include "DialogParts.h"
#include "HotKeyCodes.h"
#include "HotKeyEdit.h"
#include "NumberField.h"
#include "SettingsOwner.h"
#include "SettingsRules.h"
#include "platform/Messages.h"
#include "platform/Speech.h"
#include "platform/UserMessages.h"
#include "store/NotesDatabase.h"
#include "store/Settings.h"
#include "ui/DialogLayout.h"
#include "ui/MessageBoxes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

namespace bp {

AppSettingsDialog::AppSettingsDialog(CNotesDatabase& store, IUserMessages& messages,
                                     ISettingsOwner& owner, HotKeyRegistrar reRegister,
                                     QWidget* parent, ISpeech* speech)
    : QDialog(parent),
      store_(store),
      messages_(messages),
      owner_(owner),
      reRegister_(std::move(reRegister)) {
    setObjectName(QStringLiteral("appSettings"));
    setWindowTitle(QStringLiteral("Brightpost Settings"));
    setWindowIcon(boxIcon(res::ICON_PROGRAM));

    opening_ = {setting::get(store_, setting::openManager),
                setting::get(store_, setting::deleteMode), setting::get(store_, setting::deleteMax),
                setting::get(store_, setting::autoSave), setting::get(store_, setting::autorun)};

    autorun_ = settingCheckBox(QStringLiteral("Start Brightpost when I log in"),
                               setting::autorun.name, opening_.autorun);
    openManager_ = settingCheckBox(QStringLiteral("Open Notes Manager on startup"),
                                   setting::openManager.name, opening_.openManager);
    showNotesMode_ = new QComboBox;
    showNotesMode_->setObjectName(settingControlName(setting::showNotesMode.name));
    showNotesMode_->setEditable(true);
    showNotesMode_->setInsertPolicy(QComboBox::NoInsert);
    showNotesMode_->addItems({QStringLiteral("Remember notes' state"),
                              QStringLiteral("Show all notes"), QStringLiteral("Hide all notes")});
    std::string modeName;
    store_.GetShowNotesModeName(modeName);
    showNotesMode_->setCurrentText(QString::fromStdString(modeName));
    move_ = settingCheckBox(QStringLiteral("Multi - Monitor system"), setting::move.name,
                            setting::get(store_, setting::move));
    autoSave_ = settingNumberField(setting::autoSave.name, settings::kMinAutoSave,
                                   settings::kMaxAutoSave, opening_.autoSave);
    deleteMode_ = settingCheckBox(QStringLiteral("Recycle Bin"), setting::deleteMode.name,
                                  opening_.deleteMode);
    deleteMax_ = settingNumberField(setting::deleteMax.name, settings::kMinCount,
                                    settings::kMaxCount, opening_.deleteMax);
    backupMode_ = settingCheckBox(QStringLiteral("Auto backup"), setting::backupMode.name,
                                  setting::get(store_, setting::backupMode));
    backupMax_ = settingNumberField(setting::backupMax.name, settings::kMinCount,
                                    settings::kMaxCount, setting::get(store_, setting::backupMax));
    voice_ = voiceChoice(speech);
    alarmBeep_ = new QComboBox;
    alarmBeep_->setObjectName(settingControlName(setting::alarmBeepRepeat.name));
    alarmBeep_->setAccessibleName(QStringLiteral("Alarm beep"));
    alarmBeep_->addItem(QStringLiteral("Once"), 0);
    alarmBeep_->addItem(QStringLiteral("Until the alarm is stopped"), 1);
    alarmBeep_->setCurrentIndex(
        alarmBeep_->findData(setting::get(store_, setting::alarmBeepRepeat) != 0 ? 1 : 0));
    alarmNotifications_ = settingCheckBox(QStringLiteral("Show &alarms as desktop notifications"),
                                          setting::alarmNotifications.name,
                                          setting::get(store_, setting::alarmNotifications));
    alarmNotifications_->setAccessibleName(QStringLiteral("Show alarms as desktop notifications"));
    mailSignature_ =
        settingCheckBox(QStringLiteral("Sign notes sent as e-mail"), setting::mailSignature.name,
                        setting::get(store_, setting::mailSignature));

    auto* general = new QVBoxLayout;
    general->addWidget(autorun_);
    general->addWidget(openManager_);
    auto* showNotesLabel = new QLabel(QStringLiteral("Notes at s&tart-up"));
    showNotesLabel->setBuddy(showNotesMode_);
    general->addWidget(controlRow({showNotesLabel, showNotesMode_}));
    general->addWidget(move_);
    general->addWidget(controlRow({new QLabel(QStringLiteral("Auto save")), autoSave_,
                                   new QLabel(QStringLiteral("minutes"))}));
    general->addWidget(deleteMode_);
    general->addWidget(
        controlRow({new QLabel(QStringLiteral("Recycle Bin Capacity")), deleteMax_}));
    general->addWidget(backupMode_);
    backupMax_->edit()->setAccessibleName(QStringLiteral("Backups kept"));
    general->addWidget(controlRow(
        {new QLabel(QStringLiteral("keep")), backupMax_, new QLabel(QStringLiteral("backup(s)"))}));
    if (voice_->count() > 1) {
        auto* voiceLabel = new QLabel(QStringLiteral("Reading &voice"));
        voiceLabel->setBuddy(voice_);
        general->addWidget(controlRow({voiceLabel, voice_}));
    } else {
        voice_->setParent(this);
        voice_->hide();
    }
    auto* beepLabel = new QLabel(QStringLiteral("Alarm &beep"));
    beepLabel->setBuddy(alarmBeep_);
    general->addWidget(controlRow({beepLabel, alarmBeep_}));
    general->addWidget(alarmNotifications_);
    general->addWidget(mailSignature_);

    // Alt and a letter reach each hot-key control from the keyboard.
    auto* keys = new QGroupBox(QStringLiteral("Hot Keys"));
    auto* keyForm = new QFormLayout(keys);
    CHotKeyEdit* newNote = hotKeyEdit(setting::hkNewNote);
    CHotKeyEdit* showAll = hotKeyEdit(setting::hkShowAll);
    CHotKeyEdit* hideAll = hotKeyEdit(setting::hkHideAll);
    CHotKeyEdit* manager = hotKeyEdit(setting::hkShowManager);
    // The attach panel's key has no control of its own to show; its value goes back as read.
    CHotKeyEdit* attach = hotKeyEdit(setting::hkShowAttach);
    attach->setParent(this);
    attach->hide();
    attach->setEnabled(false);
    keyForm->addRow(QStringLiteral("&New Note"), newNote);
    keyForm->addRow(QStringLiteral("&Show All Notes"), showAll);
    keyForm->addRow(QStringLiteral("&Hide All Notes"), hideAll);
    keyForm->addRow(QStringLiteral("Open Notes &Manager"), manager);
    hotKeys_ = {{newNote, hotkey::NEW_NOTE, setting::hkNewNote, "New Note"},
                {showAll, hotkey::SHOW_ALL, setting::hkShowAll, "Show All Notes"},
                {hideAll, hotkey::HIDE_ALL, setting::hkHideAll, "Hide All Notes"},
                {attach, hotkey::SHOW_ATTACH, setting::hkShowAttach, ""},
                {manager, hotkey::TOGGLE_MANAGER, setting::hkShowManager, "Open Notes Manager"}};
    for (const HotKeyControl& control : hotKeys_) {
        if (control.action.empty()) {
            continue;
        }
        control.edit->setChoiceCheck(
            [this, &control](std::uint32_t value) { return moveHotKey(control, value); });
    }

    QDialogButtonBox* buttons = okCancelButtons(*this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(general);
    layout->addWidget(keys);
    layout->addWidget(buttons);

    connect(deleteMode_, &QCheckBox::toggled, this, &AppSettingsDialog::updateEnabled);
    connect(backupMode_, &QCheckBox::toggled, this, &AppSettingsDialog::updateEnabled);
    updateEnabled();
    fixDialogSize(*this);
}

CHotKeyEdit* AppSettingsDialog::hotKeyEdit(setting::Key<std::uint32_t> key) {
    auto* edit = new CHotKeyEdit;
    edit->setObjectName(QString::fromUtf8(key.name.data(), static_cast<int>(key.name.size())));
    edit->setValue(setting::get(store_, key));
    return edit;
}

QComboBox* AppSettingsDialog::voiceChoice(ISpeech* speech) {
    auto* choice = new QComboBox;
    choice->setObjectName(settingControlName(setting::speechVoice.name));
    choice->setAccessibleName(QStringLiteral("Reading voice"));
    // The empty name leaves the voice to the engine, as before any was chosen.
    choice->addItem(QStringLiteral("The speech engine's own"), QString());
    const std::vector<std::string> voices =
        speech != nullptr ? speech->voices() : std::vector<std::string>{};
    if (voices.size() > 1) {
        for (const std::string& voice : voices) {
            const QString name = QString::fromStdString(voice);
            choice->addItem(name, name);
        }
    }
    const QString stored = QString::fromStdString(setting::get(store_, setting::speechVoice));
    // A voice the engine no longer offers stays chosen until the user picks another.
    if (!stored.isEmpty() && choice->findData(stored) < 0) {
        choice->addItem(stored, stored);
    }
    choice->setCurrentIndex(choice->findData(stored));
    return choice;
}

void AppSettingsDialog::updateEnabled() {
    deleteMax_->setEnabled(deleteMode_->isChecked());
    backupMax_->setEnabled(backupMode_->isChecked());
}

bool AppSettingsDialog::moveHotKey(const HotKeyControl& taker, std::uint32_t value) {
    for (const HotKeyControl& holder : hotKeys_) {
        if (&holder == &taker || holder.action.empty() ||
            !settings::sameHotKey(holder.edit->value(), value)) {
            continue;
        }
        const std::string question = settings::hotKeyControlText(value) +
                                     " is already the key of " + holder.action + ". Use it for " +
                                     taker.action + " instead?";
        if (!messages_.askYesNo("Hot Keys", "", question, res::ICON_QUESTION)) {
            return false;
        }
        holder.edit->setValue(0);
    }
    return true;
}

bool AppSettingsDialog::hotKeysDiffer() {
    for (auto first = hotKeys_.begin(); first != hotKeys_.end(); ++first) {
        for (auto second = first + 1; second != hotKeys_.end(); ++second) {
            if (first->action.empty() || second->action.empty() ||
                !settings::sameHotKey(first->edit->value(), second->edit->value())) {
                continue;
            }
            messages_.showMessage("Hot Keys", "",
                                  settings::hotKeyControlText(second->edit->value()) +
                                      " is the key of both " + first->action + " and " +
                                      second->action + ". Give one of them another key.",
                                  res::ICON_WARNING);
            second->edit->setFocus();
            return false;
        }
    }
    return true;
}

void AppSettingsDialog::accept() {
    // Nothing is written while a field holds what it cannot take.
    NumberCheck numbers;
    for (CNumberField* field : {autoSave_, deleteMax_, backupMax_}) {
        numbers.take(*field);
    }
    if (!numbers.passed(&messages_, windowTitle().toStdString()) || !hotKeysDiffer()) {
        return;
    }
    const bool binOn = deleteMode_->isChecked();
    setting::set(store_, setting::openManager, openManager_->isChecked() ? 1 : 0);
    setting::set(store_, setting::deleteMode, binOn ? 1 : 0);
    if (opening_.deleteMode != 0 && !binOn) {
        const std::optional<IdList> inBin = store_.ListDeletedNotes();
        if (inBin && !inBin->empty() &&
            messages_.askYesNo("Recycle Bin", "", "Recycle Bin is not empty. Do you want clean it?",
                               res::ICON_QUESTION)) {
            for (const std::int32_t nid : *inBin) {
                store_.DeleteNote(nid);
            }
        }
    }
    if (binOn) {
        setting::set(store_, setting::deleteMax, deleteMax_->value());
    }
    setting::set(store_, setting::backupMode, backupMode_->isChecked() ? 1 : 0);
    if (backupMode_->isChecked()) {
        setting::set(store_, setting::backupMax, backupMax_->value());
    }
    const int autoSave = autoSave_->value();
    setting::set(store_, setting::autoSave, autoSave);
    if (autoSave != opening_.autoSave) {
        owner_.autoSaveIntervalChanged();
    }
    if (const std::optional<int> mode =
            settings::showNotesModeFor(showNotesMode_->currentText().toStdString())) {
        setting::set(store_, setting::showNotesMode, *mode);
    }
    setting::set(store_, setting::move, move_->isChecked() ? 1 : 0);
    setting::set(store_, setting::speechVoice, voice_->currentData().toString().toStdString());
    setting::set(store_, setting::mailSignature, mailSignature_->isChecked() ? 1 : 0);
    setting::set(store_, setting::alarmBeepRepeat, alarmBeep_->currentData().toInt());
    setting::set(store_, setting::alarmNotifications, alarmNotifications_->isChecked() ? 1 : 0);
    const int autorun = autorun_->isChecked() ? 1 : 0;
    setting::set(store_, setting::autorun, autorun);
    if (autorun != opening_.autorun) {
        owner_.autostartChanged();
    }

    for (const HotKeyControl& control : hotKeys_) {
        const std::uint32_t value = control.edit->value();
        reRegister_(control.id, value);
        setting::set(store_, control.key, value);
    }
    QDialog::accept();
}

void AppSettingsDialog::reject() {
    const bool changed = (deleteMode_->isChecked() ? 1 : 0) != opening_.deleteMode ||
                         deleteMax_->value() != opening_.deleteMax ||
                         (openManager_->isChecked() ? 1 : 0) != opening_.openManager;
    if (changed && !messages_.askYesNo("Warning", "", "Discard changes?", res::ICON_QUESTION)) {
        return;
    }
    QDialog::reject();
}

}  // namespace bp
