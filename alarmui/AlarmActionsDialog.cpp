#include "AlarmActionsDialog.h"

#include "alarm/ProgramLaunch.h"
#include "platform/FileDialogs.h"
#include "platform/Messages.h"
#include "platform/Shell.h"
#include "platform/UserMessages.h"
#include "ui/DialogLayout.h"
#include "ui/MessageBoxes.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace bp {

namespace {

template <typename W>
W* numbered(W* widget, int id) {
    widget->setProperty("controlId", id);
    return widget;
}

}  // namespace

CAlarmActions::CAlarmActions(QWidget* parent, IShell* shell, IFileDialogs* files,
                             IUserMessages* messages)
    : QDialog(parent), shell_(shell), files_(files), messages_(messages) {
    setWindowTitle(QStringLiteral("ALARM ACTIONS"));
    setWindowIcon(boxIcon(res::ICON_PROGRAM));
    popUp_ = numbered(new QCheckBox(QStringLiteral("Pop-up and flash"), this), kPopUpCheck);
    read_ = numbered(new QCheckBox(QStringLiteral("Read"), this), kReadCheck);
    beep_ = numbered(new QCheckBox(QStringLiteral("Beep"), this), kBeepCheck);
    shutDown_ = numbered(new QCheckBox(QStringLiteral("Shut Down Computer"), this), kShutDownCheck);
    play_ = numbered(new QCheckBox(QStringLiteral("Play sound"), this), kPlayCheck);
    sound_ = numbered(new QLineEdit(this), kSoundEdit);
    sound_->setAccessibleName(QStringLiteral("Sound file to play"));
    soundBrowse_ = numbered(new QPushButton(QStringLiteral("Choose..."), this), kSoundBrowseButton);
    soundBrowse_->setAccessibleName(QStringLiteral("Choose sound file"));
    openUrl_ =
        numbered(new QCheckBox(QStringLiteral("Open url"), this), cmd::ACTIONS_OPEN_URL_CHECK);
    url_ = numbered(new QLineEdit(this), kUrlEdit);
    url_->setAccessibleName(QStringLiteral("Url to open"));
    go_ = numbered(new QPushButton(QStringLiteral("Go"), this), cmd::ACTIONS_GO_BUTTON);
    openProgram_ =
        numbered(new QCheckBox(QStringLiteral("Open"), this), cmd::ACTIONS_OPEN_PROGRAM_CHECK);
    program_ = numbered(new QLineEdit(this), kProgramEdit);
    program_->setAccessibleName(QStringLiteral("Program to open"));
    browse_ = numbered(new QPushButton(QStringLiteral("Browse"), this), cmd::ACTIONS_BROWSE_BUTTON);
    auto* ok = numbered(new QPushButton(QStringLiteral("OK"), this), 1);
    auto* cancel = numbered(new QPushButton(QStringLiteral("Cancel"), this), 2);
    ok->setDefault(true);
    // Enter in a field is not a confirmation: only the OK button checks and closes.
    go_->setAutoDefault(false);
    browse_->setAutoDefault(false);
    soundBrowse_->setAutoDefault(false);

    auto* grid = new QGridLayout;
    grid->addWidget(popUp_, 0, 0, 1, 3);
    grid->addWidget(read_, 1, 0, 1, 3);
    grid->addWidget(beep_, 2, 0, 1, 3);
    grid->addWidget(shutDown_, 3, 0, 1, 3);
    grid->addWidget(play_, 4, 0);
    grid->addWidget(sound_, 4, 1);
    grid->addWidget(soundBrowse_, 4, 2);
    grid->addWidget(openUrl_, 5, 0);
    grid->addWidget(url_, 5, 1);
    grid->addWidget(go_, 5, 2);
    grid->addWidget(openProgram_, 6, 0);
    grid->addWidget(program_, 6, 1);
    grid->addWidget(browse_, 6, 2);
    grid->setColumnMinimumWidth(1, 220);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &CAlarmActions::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(play_, &QCheckBox::toggled, this, &CAlarmActions::updateEnabled);
    connect(openUrl_, &QCheckBox::toggled, this, &CAlarmActions::updateEnabled);
    connect(openProgram_, &QCheckBox::toggled, this, &CAlarmActions::updateEnabled);
    connect(go_, &QPushButton::clicked, this, &CAlarmActions::openAddressNow);
    connect(browse_, &QPushButton::clicked, this, &CAlarmActions::browseForProgram);
    connect(soundBrowse_, &QPushButton::clicked, this, &CAlarmActions::browseForSound);
    updateEnabled();
    fixDialogSize(*this);
}

void CAlarmActions::setChoice(const AlarmActionsChoice& choice) {
    choice_ = choice;
    const ActionFlags& f = choice.flags;
    popUp_->setChecked(f[action::PopUpAndFlash] || f[action::Flash]);
    read_->setChecked(f[action::Read]);
    beep_->setChecked(f[action::Beep]);
    shutDown_->setChecked(f[action::ShutDown]);
    play_->setChecked(f[action::Play]);
    sound_->setText(QString::fromStdString(choice.soundFile));
    openUrl_->setChecked(f[action::OpenUrl]);
    url_->setText(QString::fromStdString(choice.url));
    openProgram_->setChecked(f[action::OpenProgram]);
    program_->setText(QString::fromStdString(choice.program));
    updateEnabled();
}

QWidget* CAlarmActions::control(int id) const {
    for (QWidget* w : findChildren<QWidget*>()) {
        if (w->property("controlId").toInt() == id) {
            return w;
        }
    }
    return nullptr;
}

void CAlarmActions::readControls() {
    ActionFlags& f = choice_.flags;
    // Both flags mean pop-up with flashing, and only one box shows them: unticked, the alarm
    // must not go on flashing through the flag nobody can see.
    f[action::PopUpAndFlash] = popUp_->isChecked();
    f[action::Flash] = popUp_->isChecked();
    f[action::Read] = read_->isChecked();
    f[action::Beep] = beep_->isChecked();
    f[action::ShutDown] = shutDown_->isChecked();
    f[action::Play] = play_->isChecked();
    choice_.soundFile = sound_->text().toStdString();
    f[action::OpenUrl] = openUrl_->isChecked();
    f[action::OpenProgram] = openProgram_->isChecked();
    choice_.url = url_->text().toStdString();
    choice_.program = program_->text().toStdString();
}

void CAlarmActions::updateEnabled() {
    sound_->setEnabled(play_->isChecked());
    soundBrowse_->setEnabled(play_->isChecked());
    url_->setEnabled(openUrl_->isChecked());
    go_->setEnabled(openUrl_->isChecked());
    program_->setEnabled(openProgram_->isChecked());
    browse_->setEnabled(openProgram_->isChecked());
}

void CAlarmActions::openAddressNow() {
    readControls();
    if (shell_ != nullptr && OpensAsWebAddress(choice_.url)) {
        shell_->open(choice_.url);
    }
}

void CAlarmActions::browseForProgram() {
    if (files_ == nullptr) {
        return;
    }
    const std::string chosen = files_->openFile("Open", kProgramFilter, "");
    if (!chosen.empty()) {
        // Quoted when it holds blanks, so that arguments can be written after it.
        program_->setText(QString::fromStdString(QuotedForCommandLine(chosen)));
    }
}

void CAlarmActions::browseForSound() {
    if (files_ == nullptr) {
        return;
    }
    const std::string chosen = files_->openFile("Choose Sound", kSoundFilter, "");
    if (!chosen.empty()) {
        sound_->setText(QString::fromStdString(chosen));
    }
}

void CAlarmActions::accept() {
    readControls();
    const std::string problem = CheckAlarmActions(choice_);
    if (!problem.empty()) {
        if (messages_ != nullptr) {
            messages_->showMessage("Warning", "", problem, res::ICON_WARNING);
        }
        return;
    }
    QDialog::accept();
}

}  // namespace bp
