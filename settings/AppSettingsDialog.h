#pragma once

#include "store/NotesDatabase.h"

#include <QDialog>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;

namespace bp {

class CHotKeyEdit;
class CNumberField;
class ISettingsOwner;
class ISpeech;
class IUserMessages;

// "Brightpost Settings": starting at log-in, what the program shows at start, the Recycle Bin,
// backups, the auto-save interval, the multi-monitor behaviour, the reading voice, the e-mail
// signature and the global hot keys. Reads the settings when it is made and writes them on OK
// only.
class AppSettingsDialog : public QDialog {
    Q_OBJECT
public:
    // Gives a hot key its new combination at once: unregisters id and registers value
    // unless it holds no key.
    using HotKeyRegistrar = std::function<void(int id, std::uint32_t value)>;

    // speech: where the voices to choose from come from; none offers no choice.
    AppSettingsDialog(CNotesDatabase& store, IUserMessages& messages, ISettingsOwner& owner,
                      HotKeyRegistrar reRegister, QWidget* parent = nullptr,
                      ISpeech* speech = nullptr);

    void accept() override;
    // Asks before dropping changes to the Recycle Bin or the start-up Notes Manager.
    void reject() override;

private:
    struct Opening {
        int openManager = 0;
        int deleteMode = 0;
        int deleteMax = 0;
        int autoSave = 0;
        int autorun = 0;
    };
    struct HotKeyControl {
        CHotKeyEdit* edit;
        int id;
        setting::Key<std::uint32_t> key;
        std::string action;  // as the question names it; none for a key nothing acts on
    };

    void updateEnabled();
    // The engine's voices, with the stored one first chosen; hidden when there is no choice.
    QComboBox* voiceChoice(ISpeech* speech);
    CHotKeyEdit* hotKeyEdit(setting::Key<std::uint32_t> key);
    // The user pressed value for taker's action: when another action holds it, asks whether it
    // moves (the other is left without a key). False keeps taker as it was.
    bool moveHotKey(const HotKeyControl& taker, std::uint32_t value);
    // OK stores no combination twice; says which actions share one.
    bool hotKeysDiffer();

    CNotesDatabase& store_;
    IUserMessages& messages_;
    ISettingsOwner& owner_;
    HotKeyRegistrar reRegister_;
    Opening opening_;

    QCheckBox* autorun_;
    QCheckBox* openManager_;
    QComboBox* showNotesMode_;
    QCheckBox* move_;
    CNumberField* autoSave_;
    QCheckBox* deleteMode_;
    CNumberField* deleteMax_;
    QCheckBox* backupMode_;
    CNumberField* backupMax_;
    QComboBox* voice_;
    QCheckBox* mailSignature_;
    QComboBox* alarmBeep_;
    QCheckBox* alarmNotifications_;
    std::vector<HotKeyControl> hotKeys_;  // in the order they are registered again
};

}  // namespace bp
