#pragma once

#include <QMenu>

#include <string>

namespace bp {

// The tray menu: a dark header band, the program's commands with 32-pixel icons, and the
// "Notes" and "Settings" submenus. It does nothing itself: a chosen item is reported as its
// command number.
class TrayMenu : public QMenu {
    Q_OBJECT
public:
    explicit TrayMenu(QWidget* parent = nullptr);
    ~TrayMenu() override;

    // Called before each opening: the hot keys shown in the "Notes" submenu may have changed,
    // and so may the Recycle Bin setting.
    void prepare(bool recycleBinEnabled, const std::string& newNoteKey,
                 const std::string& showAllKey, const std::string& hideAllKey);

    // The item that raises the command (also inside the submenus), or nullptr.
    QAction* actionFor(int command) const;
    QMenu* notesMenu() const { return notesMenu_; }
    QMenu* settingsMenu() const { return settingsMenu_; }

signals:
    void commandChosen(int command);

private:
    QAction* addCommand(QMenu* menu, const QString& text, int command, const QString& icon = {});

    QMenu* notesMenu_ = nullptr;
    QMenu* settingsMenu_ = nullptr;
};

}  // namespace bp
