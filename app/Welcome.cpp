#include "Welcome.h"

#include "platform/Platform.h"
#include "platform/WindowSystem.h"
#include "store/NotesDatabase.h"
#include "store/Settings.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace bp {

WelcomeWindow::WelcomeWindow(bool autostartOn, std::function<void(bool)> setAutostart,
                             QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("welcome"));
    setWindowTitle(QStringLiteral("Welcome to Brightpost"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* lines = new QLabel(
        QStringLiteral("Double-click the tray icon for a new note.\n"
                       "Right-click a note's title bar for its menu.\n"
                       "The Notes Manager in the tray menu lists all your notes.\n\n"
                       "Brightpost starts when you log in, to keep your notes on the desktop."));
    lines->setObjectName(QStringLiteral("welcomeText"));
    lines->setAccessibleName(QStringLiteral("Getting started"));
    lines->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);

    autostart_ = new QCheckBox(QStringLiteral("&Start Brightpost when I log in"));
    autostart_->setObjectName(QStringLiteral("welcomeAutorun"));
    autostart_->setAccessibleName(QStringLiteral("Start Brightpost when I log in"));
    autostart_->setChecked(autostartOn);
    connect(autostart_, &QCheckBox::toggled, this,
            [setAutostart = std::move(setAutostart)](bool on) { setAutostart(on); });

    close_ = new QPushButton(QStringLiteral("&OK"));
    close_->setObjectName(QStringLiteral("welcomeClose"));
    close_->setAccessibleName(QStringLiteral("Close the welcome"));
    close_->setDefault(true);
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lines);
    layout->addWidget(autostart_);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
}

bool showWelcomeOnFirstStart(QObject& owner, const Platform& platform, CNotesDatabase& store,
                             std::function<void(bool)> setAutostart) {
    if (!store.CreatedOnOpen() || !qEnvironmentVariableIsEmpty("BRIGHTPOST_NO_WELCOME")) {
        return false;
    }
    auto* window =
        new WelcomeWindow(setting::get(store, setting::autorun) != 0, std::move(setAutostart));
    // Closed by the user it deletes itself; still open at exit it goes with its owner.
    QObject::connect(&owner, &QObject::destroyed, window, [window] { delete window; });
    if (platform.windows != nullptr) {
        platform.windows->setStacking(window, IWindowSystem::Stacking::Top);
    }
    window->show();
    if (platform.windows != nullptr) {
        platform.windows->windowShown(window);
    }
    window->activateWindow();
    return true;
}

}  // namespace bp
