#pragma once

#include <QPoint>

#include <functional>

class QAction;
class QMenu;

namespace bp {

// The action of a command in a menu whose actions carry their numbers as data, or nullptr.
QAction* findCommand(const QMenu& menu, int id);

// Shows a popup menu at a screen position, triggers the chosen item and returns its number, 0
// when the menu was dismissed. Tests replace the tracker to look at the menu and pick an item
// by its number.
using MenuTracker = std::function<int(QMenu& menu, const QPoint& screenPos)>;
int trackMenu(QMenu& menu, const QPoint& screenPos);
// Installs a tracker; an empty one restores the interactive menu. Returns the previous one.
MenuTracker setMenuTracker(MenuTracker tracker);

}  // namespace bp
