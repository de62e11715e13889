#include "HotKeyEdit.h"

#include "HotKeyCodes.h"
#include "SettingsRules.h"

#include <QKeyEvent>

namespace bp {

namespace {

std::uint8_t modifierByte(Qt::KeyboardModifiers modifiers) {
    std::uint8_t byte = 0;
    if (modifiers & Qt::ShiftModifier) {
        byte |= settings::kHotKeyShift;
    }
    if (modifiers & Qt::ControlModifier) {
        byte |= settings::kHotKeyCtrl;
    }
    if (modifiers & Qt::AltModifier) {
        byte |= settings::kHotKeyAlt;
    }
    return byte;
}

bool isModifierKey(int key) {
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
           key == Qt::Key_Meta || key == Qt::Key_AltGr || key == Qt::Key_Super_L ||
           key == Qt::Key_Super_R;
}

// The modifier a modifier key stands for. Its own press and release may or may not carry it
// in the event's modifiers, depending on the desktop.
Qt::KeyboardModifiers ownModifier(int key) {
    switch (key) {
        case Qt::Key_Shift:
            return Qt::ShiftModifier;
        case Qt::Key_Control:
            return Qt::ControlModifier;
        case Qt::Key_Alt:
            return Qt::AltModifier;
        default:
            return Qt::NoModifier;
    }
}

}  // namespace

CHotKeyEdit::CHotKeyEdit(QWidget* parent) : QLineEdit(parent) {
    setReadOnly(true);
    setContextMenuPolicy(Qt::NoContextMenu);
    showValue();
}

void CHotKeyEdit::setValue(std::uint32_t value) {
    value_ = value;
    showValue();
}

void CHotKeyEdit::showValue() {
    waitingForKey_ = false;
    setText(QString::fromStdString(settings::hotKeyControlText(value_)));
}

bool CHotKeyEdit::event(QEvent* event) {
    // Ctrl+Tab and Alt+Tab are combinations like any other here, not focus moves.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
            (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            keyPressEvent(key);
            return true;
        }
    }
    return QLineEdit::event(event);
}

void CHotKeyEdit::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const std::uint8_t byte = modifierByte(modifiers);
    if (isModifierKey(key)) {
        // While only modifiers are held the control shows them, waiting for the key.
        setText(QString::fromStdString(
            settings::modifierText(modifierByte(modifiers | ownModifier(key)))));
        waitingForKey_ = true;
        return;
    }
    const bool withCtrlOrAlt = (byte & (settings::kHotKeyCtrl | settings::kHotKeyAlt)) != 0;
    if (byte == 0 && (key == Qt::Key_Backspace || key == Qt::Key_Delete)) {
        setValue(0);
        return;
    }
    if (!withCtrlOrAlt && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape ||
                           key == Qt::Key_Tab || key == Qt::Key_Backtab)) {
        event->ignore();
        return;
    }
    const std::optional<settings::VirtualKey> virtualKey =
        settings::virtualKeyFor(key, (modifiers & Qt::KeypadModifier) != 0);
    if (!virtualKey) {
        showValue();
        return;
    }
    const std::uint32_t chosen = settings::hotKeyValue(
        virtualKey->code, byte | (virtualKey->extended ? settings::kHotKeyExtended : 0));
    if (choiceCheck_ && !settings::sameHotKey(chosen, value_) && !choiceCheck_(chosen)) {
        showValue();
        return;
    }
    setValue(chosen);
}

void CHotKeyEdit::keyReleaseEvent(QKeyEvent* event) {
    if (isModifierKey(event->key())) {
        // Modifiers let go without a key: the combination stays what it was.
        const std::uint8_t held = modifierByte(event->modifiers() & ~ownModifier(event->key()));
        if (!waitingForKey_) {
            return;
        }
        if (held == 0) {
            showValue();
        } else {
            setText(QString::fromStdString(settings::modifierText(held)));
        }
        return;
    }
    QLineEdit::keyReleaseEvent(event);
}

void CHotKeyEdit::focusOutEvent(QFocusEvent* event) {
    showValue();
    QLineEdit::focusOutEvent(event);
}

}  // namespace bp
