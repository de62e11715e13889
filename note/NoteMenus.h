#pragma once

#include <QPoint>

#include <functional>
#include <memory>

class QMenu;
class QAction;
class QWidget;

namespace bp {

// The note's popup menus. Every item carries its command number as the action's data.
enum class NoteMenu {
    Note,    // the priority button's menu
    Edit,    // right-click on the title bar or the body
    Unlock,  // everything a locked note offers
};

std::unique_ptr<QMenu> buildNoteMenu(NoteMenu which, QWidget* parent);

// The action of a command in a built menu, or nullptr.
QAction* findCommand(const QMenu& menu, int id);

// Shows a popup menu at a screen position and returns the chosen command, 0 when the menu
// was dismissed. Tests replace the tracker to look at the menu and pick an item.
using MenuTracker = std::function<int(QMenu& menu, const QPoint& screenPos)>;
int trackMenu(QMenu& menu, const QPoint& screenPos);
// Installs a tracker; an empty one restores the interactive menu. Returns the previous one.
MenuTracker setMenuTracker(MenuTracker tracker);

}  // namespace bp
