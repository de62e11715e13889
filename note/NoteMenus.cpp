#include "NoteMenus.h"

#include "platform/Messages.h"

#include <QAction>
#include <QMenu>

namespace bp {

namespace {

MenuTracker& tracker() {
    static MenuTracker instance;
    return instance;
}

void item(QMenu& menu, const QString& text, int id) {
    menu.addAction(text)->setData(id);
}

void addEditItems(QMenu& menu) {
    QMenu* title = menu.addMenu(QStringLiteral("Title"));
    item(*title, QStringLiteral("Edit"), cmd::TITLE_EDIT);
    item(*title, QStringLiteral("Text Color"), cmd::TITLE_TEXT_COLOR);
    item(*title, QStringLiteral("Font"), cmd::TITLE_FONT);
    menu.addSeparator();
    item(menu, QStringLiteral("Color"), cmd::NOTE_COLOR);
    item(menu, QStringLiteral("Text Color"), cmd::NOTE_BODY_TEXT_COLOR);
    item(menu, QStringLiteral("Font"), cmd::NOTE_BODY_FONT);
    menu.addSeparator();
    QMenu* selection = menu.addMenu(QStringLiteral("Selection"));
    item(*selection, QStringLiteral("Text Color"), cmd::SELECTION_TEXT_COLOR);
    item(*selection, QStringLiteral("Font"), cmd::SELECTION_FONT);
    item(menu, QStringLiteral("Paragraph Settings"), cmd::PARAGRAPH_SETTINGS);
    menu.addSeparator();
    item(menu, QStringLiteral("Undo"), cmd::EDIT_UNDO);
    item(menu, QStringLiteral("Redo"), cmd::EDIT_REDO);
    menu.addSeparator();
    item(menu, QStringLiteral("Select All"), cmd::EDIT_SELECT_ALL);
    menu.addSeparator();
    item(menu, QStringLiteral("Delete"), cmd::EDIT_DELETE);
    item(menu, QStringLiteral("Cut"), cmd::EDIT_CUT);
    item(menu, QStringLiteral("Copy"), cmd::EDIT_COPY);
    menu.addSeparator();
    item(menu, QStringLiteral("Paste"), cmd::EDIT_PASTE);
    item(menu, QStringLiteral("Paste as plain text"), cmd::EDIT_PASTE_PLAIN);
}

void addNoteItems(QMenu& menu) {
    QMenu* priority = menu.addMenu(QStringLiteral("Priority"));
    for (auto [text, id] : {std::pair{"High", cmd::NOTE_PRIORITY_HIGH},
                            std::pair{"Regular", cmd::NOTE_PRIORITY_REGULAR},
                            std::pair{"Low", cmd::NOTE_PRIORITY_LOW}}) {
        QAction* action = priority->addAction(QString::fromLatin1(text));
        action->setData(id);
        action->setCheckable(true);
    }
    item(menu, QStringLiteral("Transparency"), cmd::NOTE_TRANSPARENCY);
    QMenu* size = menu.addMenu(QStringLiteral("Size"));
    item(*size, QStringLiteral("Set size"), cmd::NOTE_SET_SIZE);
    item(*size, QStringLiteral("Maximize"), cmd::NOTE_MAXIMIZE);
    menu.addSeparator();
    item(menu, QStringLiteral("Lock"), cmd::NOTE_LOCK);
    menu.addSeparator();
    item(menu, QStringLiteral("Duplicate"), cmd::NOTE_DUPLICATE);
    menu.addSeparator();
    item(menu, QStringLiteral("Delete"), cmd::NOTE_DELETE);
    menu.addSeparator();
    QMenu* save = menu.addMenu(QStringLiteral("Save"));
    item(*save, QStringLiteral("Save as txt/rtf"), cmd::NOTE_SAVE_AS_TEXT);
    item(*save, QStringLiteral("Save as picture"), cmd::NOTE_SAVE_AS_PICTURE);
    item(menu, QStringLiteral("Print"), cmd::NOTE_PRINT);
    item(menu, QStringLiteral("Send as email"), cmd::NOTE_SEND_EMAIL);
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

std::unique_ptr<QMenu> buildNoteMenu(NoteMenu which, QWidget* parent) {
    auto menu = std::make_unique<QMenu>(parent);
    switch (which) {
        case NoteMenu::Note:
            menu->setObjectName(QStringLiteral("noteMenu"));
            addNoteItems(*menu);
            break;
        case NoteMenu::Edit:
            menu->setObjectName(QStringLiteral("editMenu"));
            addEditItems(*menu);
            break;
        case NoteMenu::Unlock:
            menu->setObjectName(QStringLiteral("unlockMenu"));
            item(*menu, QStringLiteral("Unlock"), cmd::NOTE_UNLOCK);
            break;
    }
    return menu;
}

QAction* findCommand(const QMenu& menu, int id) {
    return findIn(menu, id);
}

int trackMenu(QMenu& menu, const QPoint& screenPos) {
    if (tracker()) {
        return tracker()(menu, screenPos);
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
