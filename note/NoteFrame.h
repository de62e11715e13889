#pragma once

#include "NoteMenus.h"
#include "store/FontCodec.h"

#include <QColor>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

class QMenu;
class QWidget;

namespace bp {

class CBodyEditor;
class CNoteBody;
class CNotesDatabase;
class CTitle;

// The note as the widgets inside it see it: the title bar, the body's editor, the keys and the
// screen reader's view. They reach the note only through this, so each can be built and tested
// without the whole window.
class INoteFrame {
public:
    virtual ~INoteFrame() = default;

    // The note's window: the parent of the children, their dialogs and their shortcuts.
    virtual QWidget& frameWindow() = 0;
    virtual std::int32_t nid() const = 0;
    virtual CNotesDatabase& store() const = 0;
    // At exit: nothing more may reach the record.
    virtual bool closing() const = 0;
    virtual bool isBodyShown() const = 0;
    virtual bool isEditable() const = 0;
    virtual int priority() const = 0;
    // The note's parts; null before the note is built from its record.
    virtual CTitle* title() const = 0;
    virtual CNoteBody* body() const = 0;
    virtual CBodyEditor* bodyEditor() const = 0;
    // What typed text gets where nothing else is chosen.
    virtual QColor bodyFontColor() const = 0;
    virtual const LogFont& bodyFont() const = 0;

    // The note's commands its children start.
    virtual void beginDrag() = 0;
    virtual void hideByUser() = 0;
    virtual void toggleMinimized() = 0;
    virtual void readAloud() = 0;
    virtual void OpenAlarmDialog() = 0;
    virtual void cancelSnooze() = 0;
    virtual void switchExpirationOff() = 0;
    // Any left press on the note ends flashing and the alarm's sound, and opens a note whose
    // alarm was missed.
    virtual void pressedByUser() = 0;
    // "missed alarm: <due time>" while the note keeps an alarm nobody stopped.
    virtual std::optional<QString> missedAlarmText() const = 0;
    virtual void chooseBodyFont() = 0;
    virtual void StoreBody() = 0;
    virtual void refreshTooltips() = 0;
    virtual void announceChanged() = 0;
    // Around a dialog of the note: the attach panel waits meanwhile.
    virtual void BeginModal() = 0;
    virtual void EndModal() = 0;
    virtual std::unique_ptr<QMenu> buildMenu(NoteMenu which, QWidget* parent) = 0;
};

}  // namespace bp
