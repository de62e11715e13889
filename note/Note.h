#pragma once

#include "NoteOwner.h"
#include "alarmui/NoteAlarm.h"
#include "output/OutputSource.h"
#include "platform/Platform.h"
#include "qtsupport/PacedTimer.h"
#include "store/FontCodec.h"
#include "store/NotesDatabase.h"

#include <QColor>
#include <QPointer>
#include <QRect>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QDialog;
class QTimer;

namespace bp {

class CBodyEditor;
class INoteDialogs;
class CNoteBody;
class CShutDownCountdown;
class CStopAlarm;
class CTitle;
class NoteReading;

// One sticky note on the desktop: a frameless window with a title bar and a rich-text body,
// a view over one note record. It reads the record once when built and writes every change
// back at once.
class CNote : public QWidget, public IOutputSource {
    Q_OBJECT
public:
    CNote(Platform platform, CNotesDatabase& store, INoteOwner& owner, std::int32_t nid);
    ~CNote() override;

    // Builds the children and the state from the record; the window stays hidden.
    void CreateFromRecord();
    // Shows without activating, or hides; records isClosed and tells the main window.
    void ShowNote(bool show);
    // The main window's variant: no record, no message.
    void ShowQuietly(bool show);
    void ApplyPriorityZOrder();
    void LayoutChildren();
    void SetBodyShown(bool show, bool saveNow);
    void SetEditable(bool editable, bool focusBody);
    void ApplyTransparency();
    // Ends a reading aloud of this note, if one runs; stopping its alarm does this.
    void StopOwnReading();
    // The note's body font and colour become the format of its text and of what is typed.
    void applyDefaultBodyFormat();
    // Writes the body into the store when it changed since it was last written.
    void StoreBody();
    enum class Focus { Body, Note };
    void TakeFocus(Focus target);
    void BeginModal();
    void EndModal();
    // Kept for the alarm, reading and attach side until it calls the note's methods by name:
    // hands the few numbers it still sends to those methods.
    // The alarm settings dialog; OK writes the whole alarm into the record.
    void OpenAlarmDialog() { alarm_.openDialog(); }
    // What the main window asks of a note.
    // Shows the note if it is hidden, raises it and gives it the focus.
    void activate();
    // Raises a shown note above the others, e.g. with all notes shown at once.
    void bringToFront();
    // Takes the place and size the record holds, e.g. after a cascade.
    void moveToStored();
    // Collapses to the title bar at the place the record holds.
    void collapseAtStored();

    // The note's own commands: its menus, title-bar buttons and keys.
    // Hides the note as the close button does.
    void hideByUser();
    // The minimize button: unlocks a locked note, else collapses or restores the body.
    void toggleMinimized();
    void toggleLock();
    void unlock();
    // A priority chosen in the note's menu; an open title edit is kept first.
    void choosePriority(int priority);
    void duplicate();
    void deleteWithConfirmation();
    void maximize();
    void chooseTransparency();
    void chooseSize();
    void chooseNoteColor();
    void chooseBodyTextColor();
    void chooseBodyFont();
    void chooseTitleFont();
    void chooseTitleTextColor();
    void saveAsText();
    void saveAsPicture();
    void print();
    void sendAsEmail();
    // The title's tips after the title, priority or alarm changed.
    void refreshTooltips();
    // Tells the main window that the record of the note changed.
    void announceChanged();
    // Reads the note aloud; the button goes grey until the reading ends.
    void readAloud() { alarm_.readAloud(); }
    // The note's alarm and expiry; what follows forwards to it.
    CNoteAlarm& alarm() { return alarm_; }
    void cancelSnooze() { alarm_.cancelSnooze(); }
    void switchExpirationOff() { alarm_.switchExpirationOff(); }
    void showStopAlarm() { alarm_.showStopAlarm(); }
    void stopAlarm() { alarm_.stopAlarm(); }
    void snoozeAlarm() { alarm_.snoozeAlarm(); }
    AlarmSchedule& reminder() { return alarm_.reminder(); }
    void stopAlarmTimers() { alarm_.stopAlarmTimers(); }
    void stopFlashing() { alarm_.stopFlashing(); }
    void ringInTurn() { alarm_.ringInTurn(); }
    void startAlarmCheck() { alarm_.startAlarmCheck(); }
    void setAlarmDialogOpen(bool open) { alarm_.setAlarmDialogOpen(open); }
    bool alarmDialogOpen() const { return alarm_.alarmDialogOpen(); }
    void refreshAlarmButtons() { alarm_.refreshAlarmButtons(); }
    void runAlarmActions() { alarm_.runAlarmActions(); }
    CStopAlarm* stopAlarmWindow() const { return alarm_.stopAlarmWindow(); }
    CShutDownCountdown* shutDownCountdown() const { return alarm_.shutDownCountdown(); }
    bool timerBusy() const { return alarm_.timerBusy(); }

    // Starts the window manager's move loop from the current press.
    void beginDrag();

    // Appearance and state.
    void SetPriority(int priority);
    void ApplyRandomScheme();
    void setRandomSource(std::function<unsigned()> random) { random_ = std::move(random); }
    bool isTransparent() const { return transparency_ != 0; }
    // The window of the note's attachments, glued under its bottom edge. The note places,
    // shows, hides, enables and fades it together with itself.
    void setAttachPanel(QWidget* panel);
    QWidget* attachPanel() const { return attachPanel_; }
    // The note menu's "Attachments": shows or hides the panel now, and the record keeps it.
    bool attachmentsShown() const { return attachPanel_ != nullptr && attachPanel_->isVisible(); }
    void setAttachmentsShown(bool show);
    // The colour and font dialogs of the note and its body; tests answer them.
    void setNoteDialogs(INoteDialogs* dialogs);
    bool hoverOpaque() const { return hoverOpaque_; }
    // The settings' minimum note size changed. A note now below it keeps its size until the
    // user next sizes it, as after an exact size.
    void SizeLimitsChanged();

    std::int32_t nid() const { return nid_; }
    int priority() const { return priority_; }
    bool isBodyShown() const { return isBody_ != 0; }
    bool isEditable() const { return isEdit_ != 0; }
    int currentTitleHeight() const { return currentTitleHeight_; }
    const std::string& createdText() const { return createdText_; }
    QPoint cachedPosition() const { return cachedPosition_; }
    CTitle* title() const { return title_; }
    CNoteBody* body() const { return body_; }
    CBodyEditor* bodyEditor() const { return editor_; }
    CNotesDatabase& store() const { return store_; }
    const Platform& platform() const { return platform_; }
    // The note's timers: the hover look for a transparent note, the auto-lock, and the
    // alarm's flashing, check and snooze.
    PacedTimer& hoverTimer() { return hoverTimer_; }
    PacedTimer& autoLockTimer() { return autoLockTimer_; }
    PacedTimer& flashTimer() { return alarm_.flashTimer(); }
    PacedTimer& alarmCheckTimer() { return alarm_.alarmCheckTimer(); }
    PacedTimer& snoozeTimer() { return alarm_.snoozeTimer(); }
    // Reading the note aloud.
    NoteReading& reading() const { return *reading_; }

    // Flags the main window sets: at exit, and around its raise of all notes.
    void setClosing() { closing_ = true; }
    bool closing() const { return closing_; }
    void setRaisedByAll(bool raised) { raisedByAll_ = raised; }
    bool raisedByAll() const { return raisedByAll_; }
    void setKeepZOrder(bool keep) { keepZOrder_ = keep; }
    bool keepZOrder() const { return keepZOrder_; }
    bool modalOpen() const { return modalOpen_; }

    QColor bodyBackColor() const { return bodyBackColor_; }
    QColor bodyFontColor() const { return bodyFontColor_; }
    const LogFont& bodyFont() const { return bodyFont_; }

signals:
    // The note's colours changed; its attach panel takes them over.
    void colorsChanged();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // What the note's output reads (NoteOutputSource.cpp).
    QWidget& outputWindow() override { return *this; }
    void repaintForOutput() override;
    QString outputTitle() const override;
    const QTextDocument& outputBody() const override;
    std::int32_t outputNid() const override { return nid_; }
    int outputPriority() const override { return priority_; }
    const std::string& outputCreatedText() const override { return createdText_; }
    CNotesDatabase& outputStore() const override { return store_; }
    const Platform& outputPlatform() const override { return platform_; }
    void storeBodyForOutput() override { StoreBody(); }
    void beginOutputModal() override { BeginModal(); }
    void endOutputModal() override { EndModal(); }

    void autoLock();
    // Any left press on the note ends flashing and the alarm's sound, and opens a note whose
    // alarm was missed.
    void pressedByUser() {
        alarm_.stopFlashing();
        alarm_.openedByUser();
    }
    void onHoverTick();
    void showOpaque();
    // Ends an open title edit as Enter does, before a command that changes the note.
    void finishTitleEdit();
    void showAttachPanel(bool show);
    void placeAttachPanel();
    // Runs one of the note's modal dialogs through the platform, which tests answer.
    int runModal(QDialog& dialog);
    void onActivated();
    void onDeactivatedToOtherApplication();
    void updateSizeLimits();
    void writeGeometryIfChanged();
    void moveAndResize(const QRect& rect);
    // Watches a note that is being mapped until the window manager has taken it on.
    void awaitPlacement();
    void watchPlacement();
    void placementDone();
    Qt::Edges edgesAt(const QPoint& notePos) const;
    // Raises above everything while the user works in the note.
    void makeTopmost();

    Platform platform_;
    CNotesDatabase& store_;
    INoteOwner& owner_;
    const std::int32_t nid_;

    CTitle* title_ = nullptr;
    CNoteBody* body_ = nullptr;
    CBodyEditor* editor_ = nullptr;
    // Declared in the order the shared timers of one note fire in.
    PacedTimer hoverTimer_;
    PacedTimer autoLockTimer_;
    // The alarm's timers (flashing, check, snooze) fire after these.
    class AlarmHost;
    std::unique_ptr<AlarmHost> alarmHost_;
    CNoteAlarm alarm_;
    NoteReading* reading_ = nullptr;

    int priority_ = 1;
    int border_ = 1;
    int isBody_ = 1;
    int isEdit_ = 1;
    int transparency_ = 0;
    int links_ = 0;
    int currentTitleHeight_ = 16;
    QRect titleRect_;
    QRect bodyRect_;
    QPoint cachedPosition_;
    int cachedWidth_ = 0;
    int cachedHeight_ = 0;
    QColor bodyFontColor_;
    QColor bodyBackColor_;
    LogFont bodyFont_;
    std::string createdText_;

    bool closing_ = false;
    bool raisedByAll_ = false;
    bool keepZOrder_ = false;
    bool collapseMoving_ = false;
    bool modalOpen_ = false;
    bool creating_ = false;
    bool hoverOpaque_ = false;
    bool bodyFocused_ = false;
    // From show() until the window manager has taken the note on: a move it makes then (out
    // of a panel's way, say) is its own idea, not the user's. It is not written, and the note
    // goes back to its place once the manager is done.
    bool awaitingPlacement_ = false;
    QPoint placement_;
    QTimer* placementTimer_ = nullptr;
    // After an exact size below the limits, the limits return with the next user resize.
    bool limitsRelaxed_ = false;
    std::function<unsigned()> random_;
    INoteDialogs* dialogs_ = nullptr;
    QWidget* attachPanel_ = nullptr;
};

}  // namespace bp
