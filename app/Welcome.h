#pragma once

#include <QDialog>

#include <functional>

class QCheckBox;
class QPushButton;

namespace bp {

class CNotesDatabase;
struct Platform;

// The few lines a new user reads on the first start: how to make a note, where its menu is,
// where all notes are listed, and that the program starts at log-in, with the check box that
// turns that off at once. A window of its own, not a note, so the new database holds only
// what a new database always holds. Not modal: the notes work while it stands there.
class WelcomeWindow : public QDialog {
    Q_OBJECT
public:
    // setAutostart: turns starting at log-in on or off, the setting and the desktop's entry.
    WelcomeWindow(bool autostartOn, std::function<void(bool)> setAutostart,
                  QWidget* parent = nullptr);

    QCheckBox* autostartBox() const { return autostart_; }
    QPushButton* closeButton() const { return close_; }

private:
    QCheckBox* autostart_;
    QPushButton* close_;
};

// Shows the welcome above every note when the store has just made the database of a new data
// folder, unless BRIGHTPOST_NO_WELCOME is set (the harnesses that start the program afresh for
// every test). The window goes at the latest with owner. False when nothing was shown.
bool showWelcomeOnFirstStart(QObject& owner, const Platform& platform, CNotesDatabase& store,
                             std::function<void(bool)> setAutostart);

}  // namespace bp
