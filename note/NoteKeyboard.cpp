#include "NoteKeyboard.h"

#include "BodyEditor.h"
#include "NoteBody.h"
#include "NoteFrame.h"
#include "Title.h"
#include "platform/Messages.h"

#include <QContextMenuEvent>
#include <QKeyEvent>

namespace bp {

KeyMenu menuForKey(int key, Qt::KeyboardModifiers modifiers) {
    Qt::KeyboardModifiers mods = modifiers & ~Qt::KeypadModifier;
    if (key == Qt::Key_F10) {
        if ((mods & Qt::ShiftModifier) == 0) {
            return KeyMenu::None;
        }
        mods &= ~Qt::ShiftModifier;
    } else if (key != Qt::Key_Menu) {
        return KeyMenu::None;
    }
    if (mods == Qt::NoModifier) {
        return KeyMenu::Context;
    }
    return mods == Qt::ControlModifier ? KeyMenu::Note : KeyMenu::None;
}

std::optional<QRect> keyboardGeometry(const QRect& current, int key,
                                      Qt::KeyboardModifiers modifiers, const QSize& minimum) {
    const Qt::KeyboardModifiers mods = modifiers & ~Qt::KeypadModifier;
    int dx = 0;
    int dy = 0;
    switch (key) {
        case Qt::Key_Left:
            dx = -kKeyStep;
            break;
        case Qt::Key_Right:
            dx = kKeyStep;
            break;
        case Qt::Key_Up:
            dy = -kKeyStep;
            break;
        case Qt::Key_Down:
            dy = kKeyStep;
            break;
        default:
            return std::nullopt;
    }
    if (mods == Qt::AltModifier) {
        return current.translated(dx, dy);
    }
    if (mods == (Qt::AltModifier | Qt::ShiftModifier)) {
        QRect sized = current;
        sized.setWidth(std::max(minimum.width(), current.width() + dx));
        sized.setHeight(std::max(minimum.height(), current.height() + dy));
        return sized;
    }
    return std::nullopt;
}

CNoteKeys::CNoteKeys(INoteFrame& note) : QObject(&note.frameWindow()), note_(note) {}

void CNoteKeys::watch(QObject* target) {
    target->installEventFilter(this);
}

bool CNoteKeys::handleKey(const QKeyEvent& key) {
    if (const KeyMenu menu = menuForKey(key.key(), key.modifiers()); menu != KeyMenu::None) {
        openMenu(menu);
        return true;
    }
    // A collapsed note shows only its title; its height is not the user's to change.
    const bool sizing = (key.modifiers() & Qt::ShiftModifier) != 0;
    if (sizing && !note_.isBodyShown()) {
        return false;
    }
    QWidget& window = note_.frameWindow();
    const std::optional<QRect> moved =
        keyboardGeometry(window.geometry(), key.key(), key.modifiers(), window.minimumSize());
    if (!moved) {
        return false;
    }
    if (sizing) {
        window.resize(moved->size());
    } else {
        window.move(moved->topLeft());
    }
    return true;
}

void CNoteKeys::openMenu(KeyMenu which) {
    if (which == KeyMenu::Note) {
        if (CTitle* title = note_.title()) {
            title->openNoteMenu();
        }
        return;
    }
    CBodyEditor* editor = note_.bodyEditor();
    CNoteBody* body = note_.body();
    if (editor == nullptr || body == nullptr) {
        return;
    }
    // At the caret while it is in sight, as a right click there would; else at the body's
    // top-left corner.
    QPoint at = body->cursorRect().bottomLeft();
    if (!body->viewport()->rect().contains(at)) {
        at = QPoint(0, 0);
    }
    editor->openBodyMenu(at);
}

bool CNoteKeys::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
        case QEvent::ShortcutOverride: {
            // Claimed here so that no shortcut of the editor takes these keys first.
            const auto* key = static_cast<QKeyEvent*>(event);
            if (menuForKey(key->key(), key->modifiers()) != KeyMenu::None ||
                keyboardGeometry(QRect(), key->key(), key->modifiers(), QSize())) {
                event->accept();
                return true;
            }
            return false;
        }
        case QEvent::KeyPress:
            return handleKey(*static_cast<QKeyEvent*>(event));
        case QEvent::ContextMenu:
            // The editor's own menu never opens; the keyboard's request opens the note's.
            if (static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
                openMenu(KeyMenu::Context);
                return true;
            }
            return false;
        default:
            return false;
    }
}

}  // namespace bp
