#pragma once

#include "platform/Platform.h"
#include "store/NotesDatabase.h"

#include <QRect>
#include <QString>

#include <cstdint>
#include <optional>

class QDialog;
class QWidget;

namespace bp {

// What a note's alarm needs of its note window: the record it rings for, the window to show,
// hide and raise while it flashes, the title bar's alarm buttons, and the main window's news.
class IAlarmHost {
public:
    virtual std::int32_t nid() const = 0;
    virtual CNotesDatabase& store() const = 0;
    virtual const Platform& platform() const = 0;
    // The program is ending: nothing of the note may be used any more.
    virtual bool closing() const = 0;
    // The note window: parent of the alarm's dialogs and the place of its stop-alarm window.
    virtual QWidget& alarmWindow() = 0;
    virtual QRect windowGeometry() const = 0;
    // The note as a person knows it, for the stop-alarm window: its title, or a stand-in when
    // that is blank, and the first line of its text that has any.
    virtual QString readableName() const = 0;
    virtual QString firstLine() const = 0;
    // The note's whole text, for the lines of the alarm's desktop notification.
    virtual QString plainText() const = 0;
    virtual bool windowShown() const = 0;
    // Shows or hides without touching the record, as a flash does.
    virtual void showQuietly(bool show) = 0;
    // Shows the note and records that it is open.
    virtual void showAndRecord() = 0;
    // Brings the note above everything and gives it the focus, for a ringing that asks so.
    virtual void raiseForAlarm() = 0;
    // Shows, raises and focuses the note as the main window does.
    virtual void activateNote() = 0;
    virtual void beginReading() = 0;
    virtual void stopReading() = 0;
    // The title bar's alarm buttons and tips; a note without a title bar yet ignores them.
    virtual bool hasTitleBar() const = 0;
    virtual void showAlarmImage(bool on, const QString& tip) = 0;
    virtual void showStopSnooze(bool show) = 0;
    // expires: when the note expires, for the hourglass's tip.
    virtual void showExpiration(bool show, const QString& expires = {}) = 0;
    virtual void refreshTips(const std::optional<QString>& nextAlarm) = 0;
    virtual void finishTitleEdit() = 0;
    // Tells the main window that the record changed; the tray's tip after flashing ended.
    virtual void announceChanged() = 0;
    virtual void trayTipChanged() = 0;
    // The note expired: the main window removes it.
    virtual void removeExpired() = 0;
    virtual void beginModal() = 0;
    virtual void endModal() = 0;
    virtual int runModal(QDialog& dialog) = 0;

protected:
    ~IAlarmHost() = default;
};

}  // namespace bp
