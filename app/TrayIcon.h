#pragma once

#include "platform/Desktop.h"

#include <QObject>

#include <memory>
#include <string>

class QSystemTrayIcon;

namespace bp {

class TrayMenu;

// The icon in the desktop's tray, its tool tip and its menu. It decides nothing: presses on
// the icon come out as signals, and the menu's items are actions for the main window to
// connect. Qt docks it in an XEmbed tray, or registers it with the desktop's StatusNotifier
// watcher where one runs; there the menu is also exported over D-Bus for the host to show.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    explicit TrayIcon(QObject* parent = nullptr);
    ~TrayIcon() override;

    // Puts the icon into the tray with an empty menu.
    void create();
    // Takes the icon out of the tray; the tip is still kept up to date.
    void remove();

    // Rewrites the tool tip from the counts of notes; the icon shows whether some are hidden.
    void update(int created, int invisible, int missedAlarms = 0);
    const std::string& tip() const { return tip_; }
    // 201 while every note is visible, 202 while some are hidden.
    int iconId() const { return swapped_ ? 202 : 201; }

    // Opens the menu with its bottom-right corner at the pointer. False when there is no menu.
    bool showMenu(Point cursor);
    TrayMenu* menu() const { return menu_.get(); }
    int menuOpenings() const { return menuOpenings_; }

signals:
    // A press of the left button; the first press of a double click comes as one too.
    void clicked();
    void doubleClicked();
    // The right button, or the desktop's own way of asking for the menu.
    void contextMenuRequested();

private:
    std::unique_ptr<QSystemTrayIcon> icon_;
    std::unique_ptr<TrayMenu> menu_;
    std::string tip_;
    bool swapped_ = false;
    int menuOpenings_ = 0;
};

}  // namespace bp
