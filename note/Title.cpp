#include "Title.h"

#include "EditTitle.h"
#include "NoteAccessibility.h"
#include "NoteBody.h"
#include "NoteFrame.h"
#include "NoteMenus.h"
#include "TitleButton.h"
#include "ToolTips.h"
#include "platform/Messages.h"
#include "qtsupport/StoredText.h"
#include "richtext/Checklist.h"
#include "store/NotesDatabase.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace bp {

bool pressStartsDrag(Qt::MouseButton button, Qt::MouseButtons buttons,
                     Qt::KeyboardModifiers modifiers) {
    return button == Qt::LeftButton && buttons == Qt::LeftButton &&
           (modifiers & ~Qt::KeypadModifier) == Qt::NoModifier;
}

CTitle::CTitle(INoteFrame& note) : QWidget(&note.frameWindow()), note_(note) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setToolTip(QStringLiteral("Title"));
    tips_ = new CWrappedToolTips(this);
    tips_->watch(this);
    connect(this, &CTitle::dragRequested, this, [this] { note_.beginDrag(); });
}

CTitle::~CTitle() = default;

void CTitle::setTitleText(const QString& text) {
    titleText_ = text;
    update();
    announceNoteChanged(&note_.frameWindow());
}

void CTitle::setTitleFont(const QFont& font) {
    setFont(font);
    update();
}

void CTitle::setColors(const QColor& text, const QColor& back) {
    textColor_ = text;
    backColor_ = back;
    update();
}

void CTitle::setUnlocked(bool unlocked) {
    unlocked_ = unlocked;
    updateMinimizeImage();
}

CTitleButton* CTitle::addButton(int commandId, int imageId, const QString& tip,
                                void (CTitle::*onClick)()) {
    auto* button = new CTitleButton(commandId, this);
    button->setImage(imageId);
    button->setToolTip(tip);
    tips_->watch(button);
    connect(button, &QAbstractButton::clicked, this, [this, onClick] {
        if (!note_.closing()) {
            (this->*onClick)();
        }
    });
    buttons_[commandId] = button;
    return button;
}

void CTitle::createButtons() {
    if (!buttons_.empty()) {
        return;
    }
    addButton(cmd::TITLE_PRIORITY_BUTTON, bitmap::PRIORITY_HIGH,
              QStringLiteral("Note priority. Click to open note's menu."), &CTitle::openNoteMenu);
    addButton(cmd::TITLE_CLOSE_BUTTON, bitmap::CLOSE, QStringLiteral("Close"),
              &CTitle::onCloseButton);
    addButton(cmd::TITLE_MINIMIZE_BUTTON, bitmap::MINIMIZE, QStringLiteral("Minimize - Title Only"),
              &CTitle::onMinimizeButton);
    addButton(cmd::TITLE_READ_BUTTON, bitmap::READ, QStringLiteral("Read"), &CTitle::onReadButton)
        ->hide();
    addButton(cmd::TITLE_EXPIRATION_BUTTON, bitmap::EXPIRATION, QStringLiteral("Expiration Off"),
              &CTitle::onExpirationButton)
        ->hide();
    addButton(cmd::TITLE_ALARM_BUTTON, bitmap::ALARM_OFF, QStringLiteral("Alarm Off"),
              &CTitle::onAlarmButton)
        ->hide();
    addButton(cmd::TITLE_STOP_SNOOZE_BUTTON, bitmap::STOP_SNOOZE, QStringLiteral("Stop Snooze"),
              &CTitle::onStopSnoozeButton)
        ->hide();
    updateMinimizeImage();
}

CTitleButton* CTitle::button(int commandId) const {
    auto it = buttons_.find(commandId);
    return it == buttons_.end() ? nullptr : it->second;
}

TitleButtonsShown CTitle::buttonsShown() const {
    auto shown = [this](int id) {
        const CTitleButton* b = button(id);
        return b != nullptr && !b->isHidden();
    };
    TitleButtonsShown s;
    s.priority = shown(cmd::TITLE_PRIORITY_BUTTON);
    s.read = shown(cmd::TITLE_READ_BUTTON);
    s.alarm = shown(cmd::TITLE_ALARM_BUTTON);
    s.stopSnooze = shown(cmd::TITLE_STOP_SNOOZE_BUTTON);
    s.expiration = shown(cmd::TITLE_EXPIRATION_BUTTON);
    return s;
}

void CTitle::layoutButtons() {
    if (!buttons_.empty()) {
        // The read and alarm buttons are always part of the row once the note is laid out.
        button(cmd::TITLE_READ_BUTTON)->show();
        button(cmd::TITLE_ALARM_BUTTON)->show();
        const TitleButtonsShown shown = buttonsShown();
        const TitleButtonPlaces places = placeTitleButtons(width(), height(), shown);
        button(cmd::TITLE_CLOSE_BUTTON)->setGeometry(places.close);
        button(cmd::TITLE_MINIMIZE_BUTTON)->setGeometry(places.minimize);
        button(cmd::TITLE_PRIORITY_BUTTON)->setGeometry(places.priority);
        button(cmd::TITLE_READ_BUTTON)->setGeometry(places.read);
        button(cmd::TITLE_ALARM_BUTTON)->setGeometry(places.alarm);
        button(cmd::TITLE_STOP_SNOOZE_BUTTON)->setGeometry(places.stopSnooze);
        button(cmd::TITLE_EXPIRATION_BUTTON)->setGeometry(places.expiration);
        updateMinimizeImage();
    }
    if (editor_) {
        editor_->setGeometry(titleEditorRect(rect(), buttonsShown()));
    }
    update();
}

QRect CTitle::textRect() const {
    return titleTextRect(rect(), buttonsShown());
}

void CTitle::updateMinimizeImage() {
    CTitleButton* minimize = button(cmd::TITLE_MINIMIZE_BUTTON);
    if (minimize == nullptr) {
        return;
    }
    int image = bitmap::MINIMIZE;
    QString tip = QStringLiteral("Minimize - Title Only");
    if (!unlocked_) {
        image = bitmap::LOCKED;
        tip = QStringLiteral("Unlock note");
    } else if (!note_.isBodyShown()) {
        image = bitmap::RESTORE;
        tip = QStringLiteral("Restore");
    }
    if (minimize->imageId() != image) {
        minimize->setImage(image);
    }
    minimize->setToolTip(tip);
}

void CTitle::setPriorityImage(int priority) {
    CTitleButton* b = button(cmd::TITLE_PRIORITY_BUTTON);
    if (b == nullptr) {
        return;
    }
    switch (priority) {
        case 0:
            b->setImage(bitmap::PRIORITY_LOW);
            b->setToolTip(QStringLiteral("Low Priority"));
            break;
        case 1:
            b->setImage(bitmap::PRIORITY_REGULAR);
            b->setToolTip(QStringLiteral("Regular Priority"));
            break;
        case 2:
            b->setImage(bitmap::PRIORITY_HIGH);
            b->setToolTip(QStringLiteral("High Priority"));
            break;
        default:
            // An unknown priority keeps the image and tip the button has.
            break;
    }
}

void CTitle::setAlarmImage(bool alarmOn, const QString& tip) {
    if (CTitleButton* b = button(cmd::TITLE_ALARM_BUTTON)) {
        b->setImage(alarmOn ? bitmap::ALARM_ON : bitmap::ALARM_OFF);
        b->setToolTip(tip);
    }
}

void CTitle::showStopSnooze(bool show) {
    if (CTitleButton* b = button(cmd::TITLE_STOP_SNOOZE_BUTTON)) {
        b->setVisible(show);
        layoutButtons();
    }
}

void CTitle::showExpiration(bool show, const QString& expires) {
    if (CTitleButton* b = button(cmd::TITLE_EXPIRATION_BUTTON)) {
        b->setToolTip(expires.isEmpty()
                          ? QStringLiteral("Expiration Off")
                          : QStringLiteral("Expiration Off\nExpires: %1").arg(expires));
        b->setVisible(show);
        layoutButtons();
    }
}

void CTitle::refreshTooltips(const QString& createdText, const std::optional<QString>& nextAlarm) {
    const QString priority = priorityWord(textFromStored(
        note_.store().GetNoteAttribute(kLiveSource, note_.nid(), note::priority.name)));
    if (nextAlarm) {
        alarmText_ = *nextAlarm;
        if (CTitleButton* b = button(cmd::TITLE_ALARM_BUTTON)) {
            b->setToolTip(QStringLiteral("Alarm ON\n%1").arg(alarmText_));
        }
    } else {
        alarmText_ = QStringLiteral("NO ALARM");
        if (CTitleButton* b = button(cmd::TITLE_ALARM_BUTTON)) {
            b->setToolTip(QStringLiteral("Alarm"));
        }
    }
    QString tip = titleToolTip(createdText, priority, titleText_, alarmText_);
    if (CNoteBody* body = note_.body()) {
        const QString progress = checklist::progressText(checklist::progressOf(*body->document()));
        if (!progress.isEmpty()) {
            tip += QStringLiteral("\nchecklist: %1 done").arg(progress);
        }
    }
    setToolTip(withMissedAlarm(tip, note_.missedAlarmText()));
}

void CTitle::postToNote(void (INoteFrame::*command)()) {
    QPointer<QWidget> window(&note_.frameWindow());
    INoteFrame* note = &note_;
    QTimer::singleShot(0, window, [window, note, command] {
        if (window && !note->closing()) {
            (note->*command)();
        }
    });
}

void CTitle::onCloseButton() {
    finishEdit();
    note_.hideByUser();
}

void CTitle::onMinimizeButton() {
    finishEdit();
    note_.toggleMinimized();
}

void CTitle::onReadButton() {
    finishEdit();
    if (unlocked_) {
        postToNote(&INoteFrame::readAloud);
    } else {
        openMenu(NoteMenu::Unlock, mapToGlobal(rect().bottomLeft()));
    }
}

void CTitle::onAlarmButton() {
    if (note_.closing()) {
        return;
    }
    finishEdit();
    if (unlocked_) {
        postToNote(&INoteFrame::OpenAlarmDialog);
    } else {
        openMenu(NoteMenu::Unlock, mapToGlobal(rect().bottomLeft()));
    }
}

void CTitle::onStopSnoozeButton() {
    finishEdit();
    postToNote(&INoteFrame::cancelSnooze);
}

void CTitle::onExpirationButton() {
    note_.switchExpirationOff();
}

void CTitle::openMenu(NoteMenu which, const QPoint& screenPos) {
    std::unique_ptr<QMenu> menu = note_.buildMenu(which, this);
    if (which == NoteMenu::Note) {
        const int priority = note_.store().GetNote(kLiveSource, note_.nid(), note::priority);
        const int checked = priority == 0   ? cmd::NOTE_PRIORITY_LOW
                            : priority == 1 ? cmd::NOTE_PRIORITY_REGULAR
                            : priority == 2 ? cmd::NOTE_PRIORITY_HIGH
                                            : 0;
        for (int id :
             {cmd::NOTE_PRIORITY_HIGH, cmd::NOTE_PRIORITY_REGULAR, cmd::NOTE_PRIORITY_LOW}) {
            findCommand(*menu, id)->setChecked(id == checked);
        }
        findCommand(*menu, cmd::NOTE_TRANSPARENCY)->setEnabled(true);
    }
    trackMenu(*menu, screenPos);
}

void CTitle::openNoteMenu() {
    if (note_.closing()) {
        return;
    }
    finishEdit();
    const QPoint at = mapToGlobal(rect().bottomLeft());
    if (unlocked_) {
        note_.StoreBody();
        openMenu(NoteMenu::Note, at);
    } else {
        openMenu(NoteMenu::Unlock, at);
    }
}

void CTitle::startEdit() {
    if (editor_ || note_.closing()) {
        return;
    }
    editBuffer_ = titleText_;
    editor_ = new CEditTitle(editBuffer_, this);
    connect(editor_->lineEdit(), &QLineEdit::textEdited, this, &CTitle::editTyped);
    connect(editor_, &CEditTitle::finished, this, [this](const QString& text) {
        editBuffer_ = text;
        CEditTitle* done = editor_;
        takeEditedTitle();
        // The editor may still be inside its own key handling: let it go afterwards.
        if (done != nullptr) {
            done->hide();
            done->deleteLater();
        }
        editor_ = nullptr;
    });
    layoutButtons();
    editor_->show();
    editor_->lineEdit()->setFocus(Qt::OtherFocusReason);
}

void CTitle::finishEdit() {
    if (editor_) {
        editor_->commit();
    }
}

void CTitle::storeOpenEdit() {
    if (editor_ && !note_.closing()) {
        note_.store().SetNote(note_.nid(), storedFromText(editor_->text()), note::title);
    }
}

void CTitle::takeEditedTitle() {
    titleText_ = editBuffer_;
    note_.store().SetNote(note_.nid(), storedFromText(titleText_), note::title);
    note_.frameWindow().setWindowTitle(readableNoteName(titleText_, note_.nid()));
    repaint();
    note_.refreshTooltips();
    postToNote(&INoteFrame::announceChanged);
}

void CTitle::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), backColor_);
    painter.setPen(textColor_);
    painter.setFont(font());
    const QRect text = textRect();
    painter.setClipRect(text);
    // One line, clipped at the edge: a long title is cut, never shortened with an ellipsis.
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, titleText_);
}

void CTitle::mousePressEvent(QMouseEvent* event) {
    if (note_.closing()) {
        return;
    }
    if (event->button() == Qt::LeftButton) {
        finishEdit();
        pressPos_.reset();
        if (pressStartsDrag(event->button(), event->buttons(), event->modifiers())) {
            // The move starts once the pointer travels, so a double click still reaches the bar.
            pressPos_ = event->position().toPoint();
        }
        note_.pressedByUser();
        event->accept();
        return;
    }
    if (event->button() == Qt::RightButton) {
        finishEdit();
        if (!editor_) {
            note_.StoreBody();
            openMenu(unlocked_ ? NoteMenu::Edit : NoteMenu::Unlock,
                     event->globalPosition().toPoint());
        }
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void CTitle::mouseMoveEvent(QMouseEvent* event) {
    if (pressPos_ && (event->buttons() & Qt::LeftButton) &&
        (event->position().toPoint() - *pressPos_).manhattanLength() >=
            QApplication::startDragDistance()) {
        pressPos_.reset();
        emit dragRequested();
        event->accept();
        return;
    }
    QWidget::mouseMoveEvent(event);
}

void CTitle::mouseReleaseEvent(QMouseEvent* event) {
    pressPos_.reset();
    QWidget::mouseReleaseEvent(event);
}

void CTitle::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && unlocked_ && !note_.closing()) {
        startEdit();
        event->accept();
        return;
    }
    QWidget::mouseDoubleClickEvent(event);
}

void CTitle::resizeEvent(QResizeEvent*) {
    layoutButtons();
}

}  // namespace bp
