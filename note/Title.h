#pragma once

#include "EditTitle.h"
#include "TitleLayout.h"

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <map>
#include <optional>

namespace bp {

class INoteFrame;
class CTitleButton;
class CWrappedToolTips;

enum class NoteMenu;

// The strip across the top of a note: the title in the title font and colours, the row of
// small buttons, the note's menus, dragging, renaming in place and the tool tips that sum the
// note up. The menus and buttons call the note's own methods.
class CTitle : public QWidget {
    Q_OBJECT
public:
    explicit CTitle(INoteFrame& note);
    ~CTitle() override;

    void setTitleText(const QString& text);
    const QString& titleText() const { return titleText_; }
    void setTitleFont(const QFont& font);
    void setColors(const QColor& text, const QColor& back);
    const QColor& textColor() const { return textColor_; }
    const QColor& backColor() const { return backColor_; }
    void setUnlocked(bool unlocked);
    bool unlocked() const { return unlocked_; }

    // Builds the buttons with their first images and tips; called once by the note.
    void createButtons();
    // Places the buttons in the bar's current size.
    void layoutButtons();
    // The rectangle the title text is drawn in: clear of the buttons on the left and of the
    // 39 pixels kept free on the right.
    QRect textRect() const;
    TitleButtonsShown buttonsShown() const;

    // What the bar's buttons do when clicked.
    void openNoteMenu();
    void onCloseButton();
    void onMinimizeButton();
    void onReadButton();
    // Also the Notes Manager's "Alarm" for the note: the alarm dialog, or on a locked note the
    // menu that unlocks it.
    void onAlarmButton();
    void onStopSnoozeButton();
    void onExpirationButton();

    void setPriorityImage(int priority);
    void setAlarmImage(bool alarmOn, const QString& tip);
    void showStopSnooze(bool show);
    // expires, when given, is added to the hourglass's tip.
    void showExpiration(bool show, const QString& expires = {});
    // The tips that sum the note up; nextAlarm is the formatted next ringing when the alarm
    // is on.
    void refreshTooltips(const QString& createdText, const std::optional<QString>& nextAlarm);
    const QString& alarmText() const { return alarmText_; }

    CTitleButton* button(int commandId) const;
    CEditTitle* editor() const { return editor_; }
    bool isEditing() const { return editor_ != nullptr; }
    void startEdit();
    // Ends an open title edit exactly as Enter does.
    void finishEdit();
    // Writes what an open title edit holds into the record and leaves the edit open. An edit
    // always ends by keeping what was typed, so the record may hold it early.
    void storeOpenEdit();

signals:
    // Something was typed into an open title edit.
    void editTyped();
    // A left-button drag on the bar: the note moves with the pointer.
    void dragRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    CTitleButton* addButton(int commandId, int imageId, const QString& tip,
                            void (CTitle::*onClick)());
    void openMenu(NoteMenu which, const QPoint& screenPos);
    void takeEditedTitle();
    // Calls a method of the note once the event loop turns, as long as the note is there.
    void postToNote(void (INoteFrame::*command)());
    void updateMinimizeImage();

    INoteFrame& note_;
    QString titleText_;
    QColor textColor_;
    QColor backColor_;
    bool unlocked_ = true;
    std::map<int, CTitleButton*> buttons_;
    QPointer<CEditTitle> editor_;
    QString editBuffer_;
    QString alarmText_ = QStringLiteral("NO ALARM");
    std::optional<QPoint> pressPos_;
    CWrappedToolTips* tips_ = nullptr;
};

// A press starts a drag only when the left button is the one button and no modifier is held.
bool pressStartsDrag(Qt::MouseButton button, Qt::MouseButtons buttons,
                     Qt::KeyboardModifiers modifiers);

}  // namespace bp
