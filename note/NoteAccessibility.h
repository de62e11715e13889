#pragma once

#include "qtsupport/NoteName.h"

#include <QString>

#include <cstdint>

class QWidget;

namespace bp {

// The state a note is in, as words: locked, collapsed, its priority and whether its alarm is set.
struct NoteReaderState {
    bool locked = false;
    bool collapsed = false;
    int priority = 1;
    bool alarmOn = false;
};
QString noteStateDescription(const NoteReaderState& state);

// A title-bar button's spoken name and description. The button's image says which state it
// is in (priority, collapsed, locked, alarm on), its tool tip carries the details.
QString titleButtonName(int commandId, int imageId, const QString& toolTip);
QString titleButtonDescription(int commandId, int imageId, const QString& toolTip);

// Makes note windows, their title-bar buttons and the tray's pieces known to assistive tools:
// notes are windows named by their titles, the owner-drawn buttons are named buttons that can
// be pressed. Safe to call more than once.
void installNoteAccessibility();

// Tells assistive tools that a note's name or state changed; nothing when none listens.
void announceNoteChanged(QWidget* note);

}  // namespace bp
