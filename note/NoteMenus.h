#pragma once

#include "ui/PopupMenu.h"

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

}  // namespace bp
