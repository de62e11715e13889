#include "PopupMenu.h"

#include <QAction>
#include <QMenu>

namespace bp {

namespace {

MenuTracker& tracker() {
    static MenuTracker instance;
    return instance;
}

QAction* findIn(const QMenu& menu, int id) {
    for (QAction* action : menu.actions()) {
        if (action->menu() != nullptr) {
            if (QAction* found = findIn(*action->menu(), id)) {
                return found;
            }
        } else if (!action->isSeparator() && action->data().toInt() == id) {
            return action;
        }
    }
    return nullptr;
}

}  // namespace

QAction* findCommand(const QMenu& menu, int id) {
    return findIn(menu, id);
}

int trackMenu(QMenu& menu, const QPoint& screenPos) {
    if (tracker()) {
        const int chosen = tracker()(menu, screenPos);
        if (chosen != 0) {
            if (QAction* action = findIn(menu, chosen)) {
                action->trigger();
            }
        }
        return chosen;
    }
    QAction* chosen = menu.exec(screenPos);
    return chosen != nullptr ? chosen->data().toInt() : 0;
}

MenuTracker setMenuTracker(MenuTracker replacement) {
    MenuTracker previous = std::move(tracker());
    tracker() = std::move(replacement);
    return previous;
}

}  // namespace bp
