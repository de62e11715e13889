#pragma once

#include "alarm/ActionFlags.h"

#include <QDialog>

#include <string>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace bp {

class IFileDialogs;
class IShell;
class IUserMessages;

// "ALARM ACTIONS": what a ringing alarm does. "Pop-up and flash" stands for both pop-up
// flags.
class CAlarmActions : public QDialog {
    Q_OBJECT
public:
    static constexpr int kPopUpCheck = 584;
    static constexpr int kReadCheck = 610;
    static constexpr int kBeepCheck = 600;
    static constexpr int kShutDownCheck = 598;
    static constexpr int kPlayCheck = 590;
    static constexpr int kSoundEdit = 591;
    static constexpr int kSoundBrowseButton = 592;
    static constexpr const char* kSoundFilter =
        "Sound Files (*.wav *.ogg *.oga *.mp3 *.flac *.opus);;All Files (*)";
    static constexpr int kUrlEdit = 1211;
    static constexpr int kProgramEdit = 595;
    // Programs carry no extension here, so every file is offered first; scripts and
    // documents can be narrowed to.
    static constexpr const char* kProgramFilter =
        "All Files (*);;Scripts (*.sh *.py *.pl *.rb);;"
        "Documents (*.txt *.rtf *.pdf *.odt *.ods *.doc *.docx *.xls *.xlsx)";

    CAlarmActions(QWidget* parent, IShell* shell, IFileDialogs* files, IUserMessages* messages);

    void setChoice(const AlarmActionsChoice& choice);
    // What the dialog holds; after OK, what the caller takes over.
    const AlarmActionsChoice& choice() const { return choice_; }

    // The control with the given number, or nullptr.
    QWidget* control(int id) const;

    // Checks the choice and closes only when it can run; the first problem is shown instead.
    void accept() override;

private:
    void readControls();
    void updateEnabled();
    void openAddressNow();
    void browseForProgram();
    void browseForSound();

    IShell* shell_;
    IFileDialogs* files_;
    IUserMessages* messages_;
    AlarmActionsChoice choice_;
    QCheckBox* popUp_;
    QCheckBox* read_;
    QCheckBox* beep_;
    QCheckBox* shutDown_;
    QCheckBox* play_;
    QLineEdit* sound_;
    QPushButton* soundBrowse_;
    QCheckBox* openUrl_;
    QLineEdit* url_;
    QPushButton* go_;
    QCheckBox* openProgram_;
    QLineEdit* program_;
    QPushButton* browse_;
};

}  // namespace bp
