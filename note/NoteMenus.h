#pragma once

#include <QPoint>

#include <functional>
#include <memory>

class QMenu;
class QAction;
class QWidget;

namespace bp {

class CNote;

// The note's popup menus. Every item calls a method of the note when chosen and carries a
// number as the action's data, by which tests find and pick it.
enum class NoteMenu {
    Note,    // the priority button's menu
    Edit,    // right-click on the title bar or the body
    Unlock,  // everything a locked note offers
};

std::unique_ptr<QMenu> buildNoteMenu(NoteMenu which, CNote& note, QWidget* parent);

// The action of a command in a built menu, or nullptr.
QAction* findCommand(const QMenu& menu, int id);

// Shows a popup menu at a screen position, triggers the chosen item and returns its number, 0
// when the menu was dismissed. Tests replace the tracker to look at the menu and pick an item
// by its number.
using MenuTracker = std::function<int(QMenu& menu, const QPoint& screenPos)>;
int trackMenu(QMenu& menu, const QPoint& screenPos);
// Installs a tracker; an empty one restores the interactive menu. Returns the previous one.
MenuTracker setMenuTracker(MenuTracker tracker);

}  // namespace bp
