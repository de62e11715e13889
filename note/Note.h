#pragma once

#include "NoteAppearance.h"
#include "NoteFrame.h"
#include "NoteOwner.h"
#include "NoteWindowPlacement.h"
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
class CNoteMouse;
class CShutDownCountdown;
class CStopAlarm;
class CTitle;
class NoteReading;

// One sticky note on the desktop: a frameless window with a title bar and a rich-text body,
// a view over one note record. It reads the record once when built and writes every change
// back at once.
class CNote : public QWidget, public INoteFrame, public IOutputSource {
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
    void ApplyPriorityZOrder() { look_->applyPriorityZOrder(); }
    void LayoutChildren();
    void SetBodyShown(bool show, bool saveNow);
    void SetEditable(bool editable, bool focusBody);
    void ApplyTransparency() { look_->applyTransparency(); }
    // Ends a reading aloud of this note, if one runs; stopping its alarm does this.
    void StopOwnReading();
    // The note's body font and colour become the format of its text and of what is typed.
    void applyDefaultBodyFormat();
    // Writes the body into the store when it changed since it was last written.
    void StoreBody() override;
    enum class Focus { Body, Note };
    void TakeFocus(Focus target);
    void BeginModal() override;
    void EndModal() override;
    // Kept for the alarm, reading and attach side until it calls the note's methods by name:
    // hands the few numbers it still sends to those methods.
    // The alarm settings dialog; OK writes the whole alarm into the record.
    void OpenAlarmDialog() override { alarm_.openDialog(); }
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
    void hideByUser() override;
    // The minimize button: unlocks a locked note, else collapses or restores the body.
    void toggleMinimized() override;
    void toggleLock();
    void unlock();
    // A priority chosen in the note's menu; an open title edit is kept first.
    void choosePriority(int priority);
    void duplicate();
    void deleteWithConfirmation();
    void maximize();
    void chooseTransparency() { look_->chooseTransparency(); }
    void chooseSize();
    void chooseNoteColor() { look_->chooseNoteColor(); }
    void chooseBodyTextColor() { look_->chooseBodyTextColor(); }
    void chooseBodyFont() override { look_->chooseBodyFont(); }
    void chooseTitleFont() { look_->chooseTitleFont(); }
    void chooseTitleTextColor() { look_->chooseTitleTextColor(); }
    void saveAsText();
    void saveAsPicture();
    void print();
    void sendAsEmail();
    // The title's tips after the title, priority or alarm changed.
    void refreshTooltips() override;
    // Tells the main window that the record of the note changed.
    void announceChanged() override;
    // Reads the note aloud; the button goes grey until the reading ends.
    void readAloud() override { alarm_.readAloud(); }
    // The note's alarm and expiry; what follows forwards to it.
    CNoteAlarm& alarm() { return alarm_; }
    void cancelSnooze() override { alarm_.cancelSnooze(); }
    void switchExpirationOff() override { alarm_.switchExpirationOff(); }
    void showStopAlarm() { alarm_.showStopAlarm(); }
    void stopAlarm() { alarm_.stopAlarm(); }
    void snoozeAlarm() { alarm_.snoozeAlarm(); }
    AlarmSchedule& reminder() { return alarm_.reminder(); }
    void stopAlarmTimers() { alarm_.stopAlarmTimers(); }
    void pressedByUser() override {
        alarm_.stopFlashing();
        alarm_.openedByUser();
    }
    std::optional<QString> missedAlarmText() const override { return alarm_.missedAlarmText(); }
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
    void beginDrag() override;

    // Appearance and state.
    void SetPriority(int priority) { look_->setPriority(priority); }
    void ApplyRandomScheme() { look_->applyRandomScheme(); }
    void setRandomSource(std::function<unsigned()> random) {
        look_->setRandomSource(std::move(random));
    }
    bool isTransparent() const { return look_->isTransparent(); }
    // The window of the note's attachments, glued under its bottom edge. The note places,
    // shows, hides, enables and fades it together with itself.
    void setAttachPanel(QWidget* panel);
    QWidget* attachPanel() const { return attachPanel_; }
    // The note menu's "Attachments": shows or hides the panel now, and the record keeps it.
    bool attachmentsShown() const { return attachPanel_ != nullptr && attachPanel_->isVisible(); }
    void setAttachmentsShown(bool show);
    // The colour and font dialogs of the note and its body; tests answer them.
    void setNoteDialogs(INoteDialogs* dialogs);
    bool hoverOpaque() const { return look_->hoverOpaque(); }
    // The settings' minimum note size changed. A note now below it keeps its size until the
    // user next sizes it, as after an exact size.
    void SizeLimitsChanged() { placement_->sizeLimitsChanged(); }

    std::int32_t nid() const override { return nid_; }
    int priority() const override { return look_->priority(); }
    bool isBodyShown() const override { return isBody_ != 0; }
    bool isEditable() const override { return isEdit_ != 0; }
    int currentTitleHeight() const { return currentTitleHeight_; }
    const std::string& createdText() const { return createdText_; }
    QPoint cachedPosition() const { return placement_->cachedPosition(); }
    CTitle* title() const override { return title_; }
    CNoteBody* body() const override { return body_; }
    CBodyEditor* bodyEditor() const override { return editor_; }
    CNotesDatabase& store() const override { return store_; }
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
    bool closing() const override { return closing_; }
    void setRaisedByAll(bool raised) { raisedByAll_ = raised; }
    bool raisedByAll() const { return raisedByAll_; }
    void setKeepZOrder(bool keep) { keepZOrder_ = keep; }
    bool keepZOrder() const { return keepZOrder_; }
    bool modalOpen() const { return modalOpen_; }

    QColor bodyBackColor() const { return look_->bodyBackColor(); }
    QColor bodyFontColor() const override { return look_->bodyFontColor(); }
    const LogFont& bodyFont() const override { return look_->bodyFont(); }

    QWidget& frameWindow() override { return *this; }
    std::unique_ptr<QMenu> buildMenu(NoteMenu which, QWidget* parent) override;
    // Ends an open title edit as Enter does, before a command that changes the note.
    void finishTitleEdit();
    // Runs one of the note's modal dialogs through the platform, which tests answer.
    int runModal(QDialog& dialog);

signals:
    // The note's colours changed; its attach panel takes them over.
    void colorsChanged();

protected:
    bool event(QEvent* event) override;
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
    int outputPriority() const override { return look_->priority(); }
    const std::string& outputCreatedText() const override { return createdText_; }
    CNotesDatabase& outputStore() const override { return store_; }
    const Platform& outputPlatform() const override { return platform_; }
    void storeBodyForOutput() override { StoreBody(); }
    void beginOutputModal() override { BeginModal(); }
    void endOutputModal() override { EndModal(); }

    void autoLock();
    void onActivated();
    void onDeactivatedToOtherApplication();
    // Collapses to the title bar at `rect`, read before the new limits change the size.
    void collapseBody(const QRect& rect);
    // Raises above everything while the user works in the note.
    void makeTopmost();

    Platform platform_;
    CNotesDatabase& store_;
    INoteOwner& owner_;
    const std::int32_t nid_;

    CTitle* title_ = nullptr;
    CNoteBody* body_ = nullptr;
    CBodyEditor* editor_ = nullptr;
    // The note's window geometry and its look; they outlive the alarm, which may still show
    // or hide the note as it goes.
    std::unique_ptr<CNoteWindowPlacement> placement_;
    std::unique_ptr<CNoteAppearance> look_;
    std::unique_ptr<CNoteMouse> mouse_;
    // Declared in the order the shared timers of one note fire in.
    PacedTimer hoverTimer_;
    PacedTimer autoLockTimer_;
    // The alarm's timers (flashing, check, snooze) fire after these.
    class AlarmHost;
    std::unique_ptr<AlarmHost> alarmHost_;
    CNoteAlarm alarm_;
    NoteReading* reading_ = nullptr;

    int border_ = 1;
    int isBody_ = 1;
    int isEdit_ = 1;
    int links_ = 0;
    int currentTitleHeight_ = 16;
    QRect titleRect_;
    QRect bodyRect_;
    std::string createdText_;

    bool closing_ = false;
    bool raisedByAll_ = false;
    bool keepZOrder_ = false;
    bool modalOpen_ = false;
    bool creating_ = false;
    QWidget* attachPanel_ = nullptr;
};

}  // namespace bp
