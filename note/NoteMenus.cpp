#include "NoteMenus.h"

#include "BodyEditor.h"
#include "Note.h"
#include "Title.h"
#include "alarmui/ExpiryDialog.h"
#include "platform/Messages.h"

#include <QAction>
#include <QMenu>

#include <tuple>

namespace bp {

namespace {

// An item that calls a method of the note (or of its parts) when chosen. Its number stays
// with it as the action's data, by which tests pick items.
QAction* item(QMenu& menu, const QString& text, int id, CNote& note,
              std::function<void(CNote&)> onChosen) {
    QAction* action = menu.addAction(text);
    action->setData(id);
    QObject::connect(action, &QAction::triggered, &note, [&note, onChosen = std::move(onChosen)] {
        if (!note.closing()) {
            onChosen(note);
        }
    });
    return action;
}

// A command of the body editor, which only a note with a body editor has.
std::function<void(CNote&)> editor(void (CBodyEditor::*command)()) {
    return [command](CNote& note) {
        if (CBodyEditor* e = note.bodyEditor()) {
            (e->*command)();
        }
    };
}

void editExpiry(CNote& note) {
    note.BeginModal();
    const bool changed = editNoteExpiry(&note, note.store(), note.nid(), note.platform());
    note.EndModal();
    if (changed && !note.closing()) {
        // The hourglass and the note's expiry check read the record again.
        note.refreshAlarmButtons();
        note.announceChanged();
    }
}

void addEditItems(QMenu& menu, CNote& note) {
    QMenu* title = menu.addMenu(QStringLiteral("Title"));
    item(*title, QStringLiteral("Edit"), cmd::TITLE_EDIT, note, [](CNote& n) {
        if (CTitle* t = n.title()) {
            t->startEdit();
        }
    });
    item(*title, QStringLiteral("Text Color"), cmd::TITLE_TEXT_COLOR, note,
         &CNote::chooseTitleTextColor);
    item(*title, QStringLiteral("Font"), cmd::TITLE_FONT, note, &CNote::chooseTitleFont);
    menu.addSeparator();
    item(menu, QStringLiteral("Color"), cmd::NOTE_COLOR, note, &CNote::chooseNoteColor);
    item(menu, QStringLiteral("Text Color"), cmd::NOTE_BODY_TEXT_COLOR, note,
         &CNote::chooseBodyTextColor);
    item(menu, QStringLiteral("Font"), cmd::NOTE_BODY_FONT, note, &CNote::chooseBodyFont);
    menu.addSeparator();
    QMenu* selection = menu.addMenu(QStringLiteral("Selection"));
    item(*selection, QStringLiteral("Text Color"), cmd::SELECTION_TEXT_COLOR, note,
         editor(&CBodyEditor::chooseSelectionColor));
    item(*selection, QStringLiteral("Font"), cmd::SELECTION_FONT, note,
         editor(&CBodyEditor::chooseSelectionFont));
    item(menu, QStringLiteral("Paragraph Settings"), cmd::PARAGRAPH_SETTINGS, note,
         editor(&CBodyEditor::paragraphSettings));
    QAction* checklist = item(menu, QStringLiteral("Checklist"), cmd::CHECKLIST, note,
                              editor(&CBodyEditor::toggleChecklist));
    checklist->setShortcut(QKeySequence(CChecklistEditor::checklistKey()));
    // Only shown here: the note's own key does the work, whether or not a menu is open.
    checklist->setShortcutContext(Qt::WidgetShortcut);
    checklist->setShortcutVisibleInContextMenu(true);
    checklist->setCheckable(true);
    if (CBodyEditor* e = note.bodyEditor()) {
        checklist->setChecked(e->checklist().caretOnItem());
    }
    menu.addSeparator();
    item(menu, QStringLiteral("Undo"), cmd::EDIT_UNDO, note, editor(&CBodyEditor::undo));
    item(menu, QStringLiteral("Redo"), cmd::EDIT_REDO, note, editor(&CBodyEditor::redo));
    menu.addSeparator();
    item(menu, QStringLiteral("Select All"), cmd::EDIT_SELECT_ALL, note,
         editor(&CBodyEditor::selectAll));
    menu.addSeparator();
    item(menu, QStringLiteral("Delete"), cmd::EDIT_DELETE, note,
         editor(&CBodyEditor::deleteSelection));
    item(menu, QStringLiteral("Cut"), cmd::EDIT_CUT, note, editor(&CBodyEditor::cut));
    item(menu, QStringLiteral("Copy"), cmd::EDIT_COPY, note, editor(&CBodyEditor::copy));
    item(menu, QStringLiteral("Copy as Markdown"), cmd::EDIT_COPY_MARKDOWN, note,
         editor(&CBodyEditor::copyMarkdown));
    menu.addSeparator();
    item(menu, QStringLiteral("Paste"), cmd::EDIT_PASTE, note, editor(&CBodyEditor::paste));
    item(menu, QStringLiteral("Paste as plain text"), cmd::EDIT_PASTE_PLAIN, note,
         editor(&CBodyEditor::pastePlain));
    item(menu, QStringLiteral("Paste as Markdown"), cmd::EDIT_PASTE_MARKDOWN, note,
         editor(&CBodyEditor::pasteMarkdown));
}

void addNoteItems(QMenu& menu, CNote& note) {
    QMenu* priority = menu.addMenu(QStringLiteral("Priority"));
    for (auto [text, id, level] : {std::tuple{"High", cmd::NOTE_PRIORITY_HIGH, 2},
                                   std::tuple{"Regular", cmd::NOTE_PRIORITY_REGULAR, 1},
                                   std::tuple{"Low", cmd::NOTE_PRIORITY_LOW, 0}}) {
        item(*priority, QString::fromLatin1(text), id, note, [level = level](CNote& n) {
            n.choosePriority(level);
        })->setCheckable(true);
    }
    item(menu, QStringLiteral("Transparency"), cmd::NOTE_TRANSPARENCY, note,
         &CNote::chooseTransparency);
    QMenu* size = menu.addMenu(QStringLiteral("Size"));
    item(*size, QStringLiteral("Set size"), cmd::NOTE_SET_SIZE, note, &CNote::chooseSize);
    item(*size, QStringLiteral("Maximize"), cmd::NOTE_MAXIMIZE, note, &CNote::maximize);
    menu.addSeparator();
    item(menu, QStringLiteral("Lock"), cmd::NOTE_LOCK, note, &CNote::toggleLock);
    menu.addSeparator();
    item(menu, QStringLiteral("Duplicate"), cmd::NOTE_DUPLICATE, note, &CNote::duplicate);
    menu.addSeparator();
    item(menu, QStringLiteral("Delete"), cmd::NOTE_DELETE, note, &CNote::deleteWithConfirmation);
    menu.addSeparator();
    // What the title bar's buttons do, here as well so that a keyboard reaches it. Between
    // the note's own commands and its output, so that the items users reach by arrow keys
    // from either end keep their places.
    item(menu, QStringLiteral("Alarm…"), cmd::NOTE_ALARM_SETTINGS, note, &CNote::OpenAlarmDialog);
    item(menu, QStringLiteral("Read aloud"), cmd::NOTE_READ_ALOUD, note, &CNote::readAloud);
    item(menu, QStringLiteral("Expiry date…"), cmd::NOTE_EXPIRY, note, &editExpiry);
    QAction* attachments = item(menu, QStringLiteral("Attachments"), cmd::NOTE_ATTACHMENTS, note,
                                [](CNote& n) { n.setAttachmentsShown(!n.attachmentsShown()); });
    attachments->setCheckable(true);
    attachments->setChecked(note.attachmentsShown());
    menu.addSeparator();
    QMenu* save = menu.addMenu(QStringLiteral("Save"));
    item(*save, QStringLiteral("Save as txt/rtf/md"), cmd::NOTE_SAVE_AS_TEXT, note,
         &CNote::saveAsText);
    item(*save, QStringLiteral("Save as picture"), cmd::NOTE_SAVE_AS_PICTURE, note,
         &CNote::saveAsPicture);
    item(menu, QStringLiteral("Print"), cmd::NOTE_PRINT, note, &CNote::print);
    item(menu, QStringLiteral("Send as email"), cmd::NOTE_SEND_EMAIL, note, &CNote::sendAsEmail);
}

}  // namespace

std::unique_ptr<QMenu> buildNoteMenu(NoteMenu which, CNote& note, QWidget* parent) {
    auto menu = std::make_unique<QMenu>(parent);
    switch (which) {
        case NoteMenu::Note:
            menu->setObjectName(QStringLiteral("noteMenu"));
            addNoteItems(*menu, note);
            break;
        case NoteMenu::Edit:
            menu->setObjectName(QStringLiteral("editMenu"));
            addEditItems(*menu, note);
            break;
        case NoteMenu::Unlock:
            menu->setObjectName(QStringLiteral("unlockMenu"));
            item(*menu, QStringLiteral("Unlock"), cmd::NOTE_UNLOCK, note, &CNote::unlock);
            break;
    }
    return menu;
}

}  // namespace bp
