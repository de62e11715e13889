#include "Note.h"

#include "BodyEditor.h"
#include "DeleteNoteDialog.h"
#include "NoteAccessibility.h"
#include "NoteAlarmHost.h"
#include "NoteBody.h"
#include "NoteGeometry.h"
#include "NoteKeyboard.h"
#include "NoteMouse.h"
#include "ReadAloud.h"
#include "Title.h"
#include "alarmui/StopAlarm.h"
#include "output/NoteOutput.h"
#include "platform/Messages.h"
#include "platform/TimeText.h"
#include "qtsupport/StoredText.h"
#include "ui/NoteDialogs.h"
#include "ui/NoteStyle.h"

#include <QApplication>
#include <QBackingStore>
#include <QCloseEvent>
#include <QDialog>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTextCursor>
#include <QWindow>

namespace bp {

namespace {

bool isOwnedBy(const QWidget* window, const QWidget* owner) {
    for (const QWidget* w = window; w != nullptr; w = w->parentWidget()) {
        if (w == owner) {
            return true;
        }
    }
    return false;
}

}  // namespace

CNote::CNote(Platform platform, CNotesDatabase& store, INoteOwner& owner, std::int32_t nid)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      platform_(platform),
      store_(store),
      owner_(owner),
      nid_(nid),
      placement_(std::make_unique<CNoteWindowPlacement>(*this)),
      look_(std::make_unique<CNoteAppearance>(*this)),
      mouse_(std::make_unique<CNoteMouse>(*this, *placement_, *look_)),
      alarmHost_(std::make_unique<AlarmHost>(*this)),
      alarm_(*alarmHost_) {
    installNoteAccessibility();
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    connect(&hoverTimer_, &PacedTimer::fired, this,
            [this] { alarm_.runTimerWork([this] { look_->onHoverTick(); }, {}); });
    connect(&autoLockTimer_, &PacedTimer::fired, this,
            [this] { alarm_.runTimerWork({}, [this] { autoLock(); }); });
    connect(look_.get(), &CNoteAppearance::colorsChanged, this, &CNote::colorsChanged);
    reading_ = new NoteReading(*this, owner_);
}

CNote::~CNote() {
    // A reading ends with its note, before the windows it looks at go.
    delete reading_;
    reading_ = nullptr;
    // The body editor watches the body's events; it goes first, so that nothing the body
    // does while it is torn down reaches a half-destroyed note.
    delete editor_;
    editor_ = nullptr;
}

void CNote::CreateFromRecord() {
    creating_ = true;
    border_ = store_.GetNote(kLiveSource, nid_, note::border);
    body_ = new CNoteBody(this);
    body_->setEdgeStyle(border_);
    editor_ = new CBodyEditor(*this, *body_, platform_.shell);
    if (look_->dialogs() == nullptr) {
        look_->setDialogs(&standardNoteDialogs());
    }
    editor_->setDialogs(look_->dialogs());
    connect(editor_, &CBodyEditor::randomColorsRequested, look_.get(),
            &CNoteAppearance::applyRandomScheme);
    title_ = new CTitle(*this);
    title_->createButtons();
    auto* keys = new CNoteKeys(*this);
    keys->watch(body_);
    keys->watch(title_);

    const auto titleFontColor = store_.GetNote(kLiveSource, nid_, note::titleFontColor);
    const auto titleBackColor = store_.GetNote(kLiveSource, nid_, note::titleBackColor);
    const QString titleText = textFromStored(store_.GetNote(kLiveSource, nid_, note::title));
    title_->setColors(colorFromStored(titleFontColor), colorFromStored(titleBackColor));
    title_->setTitleText(titleText);
    title_->setTitleFont(fontFromRecord(store_.GetNote(kLiveSource, nid_, note::titleFontType)));
    setWindowTitle(readableNoteName(titleText, nid_));

    look_->load();
    isBody_ = store_.GetNote(kLiveSource, nid_, note::isBody);
    isEdit_ = store_.GetNote(kLiveSource, nid_, note::isEdit);
    links_ = store_.GetNote(kLiveSource, nid_, note::links);
    currentTitleHeight_ = setting::get(store_, setting::titleHeight);
    if (currentTitleHeight_ <= 0) {
        currentTitleHeight_ = kExpandedTitleHeight;
    }

    const std::uint32_t created = store_.GetNote(kLiveSource, nid_, note::time);
    createdText_ = displayTime(*platform_.clock, created);

    editor_->setInsertionColor(look_->bodyFontColor());
    editor_->setInsertionFont(look_->bodyFont());
    std::string stored;
    if (store_.GetNoteBody(kLiveSource, nid_, stored)) {
        body_->loadStored(stored);
    }
    QTextCursor cursor = body_->textCursor();
    cursor.clearSelection();
    body_->setTextCursor(cursor);

    const QRect place = placement_->storedRect();
    placement_->setCachedPosition(place.topLeft());
    placement_->moveAndResize(place);

    titleRect_ = QRect(0, 0, place.width(), currentTitleHeight_);
    bodyRect_ =
        QRect(QPoint(0, currentTitleHeight_), QPoint(place.width() - 1, place.height() - 1));
    placement_->setCollapseMoving(false);
    LayoutChildren();

    SetBodyShown(isBody_ != 0, false);
    SetEditable(isEdit_ != 0, false);
    ApplyTransparency();
    title_->setPriorityImage(look_->priority());
    alarm_.load();

    mouse_->watch(body_);
    mouse_->watch(body_->viewport());
    mouse_->watch(title_);
    title_->setMouseTracking(true);
    body_->viewport()->setMouseTracking(true);

    hoverTimer_.startShared(1000);
    creating_ = false;
}

void CNote::ShowNote(bool show) {
    if (closing_) {
        return;
    }
    if (!show) {
        // Hidden on purpose: flashing must not bring it back.
        alarm_.quitFlashing();
    }
    ShowQuietly(show);
    store_.SetNote(nid_, show ? 0 : 1, note::isClosed);
    owner_.noteChanged(nid_);
}

void CNote::ShowQuietly(bool show) {
    if (closing_) {
        return;
    }
    if (show) {
        const bool wasHidden = !isVisible();
        if (wasHidden) {
            platform_.windows->hideFromTaskbar(this);
            placement_->awaitPlacement();
        }
        QWidget::show();
        if (wasHidden) {
            placement_->watchPlacement();
            platform_.windows->windowShown(this);
        }
        title_->layoutButtons();
        if (links_ != 0 && (isBody_ != 0 || setting::get(store_, setting::hideAttach) == 0)) {
            placement_->showAttachPanel(true);
        }
    } else {
        placement_->stopAwaiting();
        QWidget::hide();
        placement_->showAttachPanel(false);
        // A hidden note keeps its window but not the picture of it (a few hundred KB for a
        // large note); showing it again paints it afresh anyway.
        if (QBackingStore* picture = backingStore()) {
            picture->resize(QSize(1, 1));
        }
    }
}

void CNote::makeTopmost() {
    if (!closing_) {
        platform_.windows->setStacking(this, IWindowSystem::Stacking::Top);
    }
}

void CNote::LayoutChildren() {
    if (closing_ || title_ == nullptr) {
        return;
    }
    titleRect_.setRight(width() - 1);
    if (isBody_ != 0) {
        bodyRect_.setRight(width() - 1);
        bodyRect_.setBottom(height() - 1);
    }
    body_->setGeometry(bodyRect_);
    title_->setGeometry(titleRect_);
    title_->layoutButtons();
    placement_->placeAttachPanel();
}

void CNote::SetBodyShown(bool show, bool saveNow) {
    if (closing_) {
        return;
    }
    if (show) {
        currentTitleHeight_ = kExpandedTitleHeight;
        isBody_ = 1;
        const int shift = kExpandedTitleHeight - bodyRect_.top();
        bodyRect_ = QRect(QPoint(titleRect_.left(), kExpandedTitleHeight),
                          QPoint(titleRect_.right(), bodyRect_.bottom() + shift));
        body_->show();
        placement_->expandToStored();
    } else {
        collapseBody(
            QRect(placement_->cachedPosition(),
                  QSize(placement_->storedRect().width(), collapsedHeight(kCollapsedTitleHeight))));
    }
    LayoutChildren();
    store_.SetNote(nid_, isBody_, note::isBody);
    if (saveNow) {
        store_.RequestSave(SaveUrgency::Now);
    }
}

void CNote::SetEditable(bool editable, bool focusBody) {
    if (closing_) {
        return;
    }
    isEdit_ = editable ? 1 : 0;
    title_->setUnlocked(editable);
    // Unlocking enables the body only; the panel follows with the next dialog's end.
    if (!editable && attachPanel_ != nullptr) {
        attachPanel_->setEnabled(false);
    }
    body_->setReadOnly(!editable);
    body_->viewport()->setCursor(editable ? Qt::IBeamCursor : Qt::ArrowCursor);
    if (editable && focusBody) {
        TakeFocus(Focus::Body);
    }
    title_->update();
    store_.SetNote(nid_, isEdit_, note::isEdit);
}

void CNote::StopOwnReading() {
    reading_->stopByAlarm();
}

void CNote::applyDefaultBodyFormat() {
    if (closing_ || editor_ == nullptr) {
        return;
    }
    editor_->applyDefaultBodyFormat();
}

void CNote::StoreBody() {
    if (closing_ || body_ == nullptr || !body_->document()->isModified()) {
        return;
    }
    store_.SetNoteBody(nid_, body_->toStored());
    body_->document()->setModified(false);
}

void CNote::TakeFocus(Focus target) {
    if (closing_) {
        return;
    }
    platform_.windows->activate(this);
    if (target == Focus::Body && isEdit_ != 0) {
        body_->setFocus(Qt::OtherFocusReason);
    } else {
        setFocus(Qt::OtherFocusReason);
    }
}

void CNote::BeginModal() {
    modalOpen_ = true;
    if (attachPanel_ != nullptr) {
        attachPanel_->setEnabled(false);
    }
}

void CNote::EndModal() {
    modalOpen_ = false;
    if (attachPanel_ != nullptr) {
        attachPanel_->setEnabled(true);
    }
}

void CNote::finishTitleEdit() {
    if (title_ != nullptr) {
        title_->finishEdit();
    }
}

void CNote::refreshTooltips() {
    if (closing_) {
        return;
    }
    title_->refreshTooltips(QString::fromStdString(createdText_), alarm_.nextAlarmText());
}

void CNote::announceChanged() {
    if (closing_) {
        return;
    }
    owner_.noteChanged(nid_);
}

void CNote::activate() {
    if (closing_) {
        return;
    }
    if (!isVisible()) {
        ShowNote(true);
    }
    makeTopmost();
    raise();
    TakeFocus(isEdit_ != 0 ? Focus::Body : Focus::Note);
    owner_.updateTrayTipLater();
}

void CNote::bringToFront() {
    if (closing_) {
        return;
    }
    makeTopmost();
    raise();
    placement_->moveAndResize(geometry());
    LayoutChildren();
    TakeFocus(Focus::Note);
}

void CNote::moveToStored() {
    if (closing_) {
        return;
    }
    placement_->moveToStored();
    LayoutChildren();
    TakeFocus(Focus::Note);
}

void CNote::collapseAtStored() {
    if (closing_) {
        return;
    }
    QRect stored = placement_->storedRect();
    stored.setHeight(collapsedHeight(kCollapsedTitleHeight));
    if (isBody_ != 0 && links_ != 0 && setting::get(store_, setting::hideAttach) != 0) {
        placement_->showAttachPanel(false);
    }
    collapseBody(stored);
    LayoutChildren();
    store_.SetNote(nid_, 0, note::isBody);
    TakeFocus(Focus::Note);
}

void CNote::hideByUser() {
    if (closing_) {
        return;
    }
    finishTitleEdit();
    ShowNote(false);
    owner_.updateTrayTip();
}

void CNote::toggleMinimized() {
    if (closing_) {
        return;
    }
    finishTitleEdit();
    placement_->setCollapseMoving(true);
    if (isEdit_ == 0) {
        SetEditable(true, true);
    } else if (isBody_ != 0) {
        if (links_ != 0 && setting::get(store_, setting::hideAttach) != 0) {
            placement_->showAttachPanel(false);
        }
        SetBodyShown(false, false);
    } else {
        if (links_ != 0) {
            placement_->showAttachPanel(true);
        }
        SetBodyShown(true, false);
    }
    placement_->setCollapseMoving(false);
}

void CNote::toggleLock() {
    if (closing_) {
        return;
    }
    finishTitleEdit();
    SetEditable(isEdit_ == 0, true);
}

void CNote::unlock() {
    if (closing_) {
        return;
    }
    SetEditable(true, true);
}

void CNote::choosePriority(int priority) {
    finishTitleEdit();
    SetPriority(priority);
}

void CNote::saveAsText() {
    if (!closing_) {
        CNoteOutput(*this).SaveAsText();
    }
}

void CNote::saveAsPicture() {
    if (!closing_) {
        CNoteOutput(*this).SaveAsPicture();
    }
}

void CNote::print() {
    if (!closing_) {
        CNoteOutput(*this).Print();
    }
}

void CNote::sendAsEmail() {
    if (!closing_) {
        CNoteOutput(*this).SendEmail();
    }
}

void CNote::beginDrag() {
    if (closing_) {
        return;
    }
    if (QWindow* handle = windowHandle()) {
        handle->startSystemMove();
    }
}

void CNote::autoLock() {
    SetEditable(false, true);
    autoLockTimer_.stop();
}

int CNote::runModal(QDialog& dialog) {
    return platform_.modalDialogs != nullptr ? platform_.modalDialogs->run(dialog) : dialog.exec();
}

void CNote::duplicate() {
    if (closing_) {
        return;
    }
    finishTitleEdit();
    store_.RequestSave(SaveUrgency::Soon);
    BeginModal();
    owner_.duplicateNote(nid_);
    EndModal();
}

void CNote::deleteWithConfirmation() {
    if (closing_) {
        return;
    }
    finishTitleEdit();
    const QString storedPriority =
        QString::fromStdString(store_.GetNoteAttribute(kLiveSource, nid_, note::priority.name));
    // Hidden while the question is asked, but not recorded as closed: should the session end
    // before the answer, the note must not stay hidden at the next start.
    ShowQuietly(false);
    BeginModal();
    CDeleteNote dialog(nullptr, title_->titleText(), QString::fromStdString(createdText_),
                       storedPriority);
    dialog.move(placement_->cachedPosition());
    if (runModal(dialog) == QDialog::Accepted) {
        // The main window ends this note; nothing of it may be used after the call.
        owner_.deleteNoteWindow(*this);
        if (closing_) {
            return;
        }
    } else {
        ShowQuietly(true);
    }
    EndModal();
}

bool CNote::event(QEvent* event) {
    if (closing_) {
        // At exit nothing more may reach the record; let Qt do its own bookkeeping only.
        switch (event->type()) {
            case QEvent::Paint:
            case QEvent::Move:
            case QEvent::Resize:
            case QEvent::WindowActivate:
            case QEvent::WindowDeactivate:
            case QEvent::Timer:
            case QEvent::MouseButtonPress:
                return true;
            default:
                return QWidget::event(event);
        }
    }
    if (event->type() == QEvent::WindowActivate) {
        onActivated();
    } else if (event->type() == QEvent::WindowDeactivate) {
        const QWidget* next = QApplication::activeWindow();
        if (next != nullptr && next != this && isOwnedBy(next, this)) {
            // One of the note's own dialogs: the note stays on top under it.
            autoLockTimer_.stop();
            makeTopmost();
        } else {
            onDeactivatedToOtherApplication();
        }
    }
    return QWidget::event(event);
}

void CNote::onActivated() {
    autoLockTimer_.stop();
    makeTopmost();
}

void CNote::onDeactivatedToOtherApplication() {
    if (!raisedByAll_ && !modalOpen_) {
        ApplyPriorityZOrder();
    }
    if (body_ != nullptr && body_->document()->isModified()) {
        StoreBody();
    }
    if (setting::get(store_, setting::AutoLock) != 0) {
        autoLockTimer_.start(std::max(1, setting::get(store_, setting::autoLockTime) * 1000));
    }
    placement_->writeGeometryIfChanged();
}

void CNote::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), look_->bodyBackColor());
}

void CNote::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (closing_ || !isVisible() || creating_) {
        return;
    }
    if (placement_->takeMove(event->spontaneous())) {
        StoreBody();
    }
}

void CNote::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (closing_) {
        return;
    }
    LayoutChildren();
    if (!isVisible() || creating_) {
        return;
    }
    placement_->takeResize();
    StoreBody();
}

void CNote::closeEvent(QCloseEvent* event) {
    if (closing_) {
        QWidget::closeEvent(event);
        return;
    }
    // A close from the window manager (Alt+F4, a panel's Close) is the close button's: the
    // note is hidden and recorded so, and keeps its window for Show. Qt alone would just take
    // the window away behind the record's back.
    event->ignore();
    hideByUser();
}

void CNote::mousePressEvent(QMouseEvent* event) {
    if (!mouse_->pressOnNote(*event)) {
        QWidget::mousePressEvent(event);
    }
}

void CNote::collapseBody(const QRect& rect) {
    isBody_ = 0;
    currentTitleHeight_ = kCollapsedTitleHeight;
    body_->hide();
    placement_->collapseTo(rect);
}

void CNote::maximize() {
    if (closing_) {
        return;
    }
    finishTitleEdit();
    placement_->maximize();
    LayoutChildren();
}

void CNote::chooseSize() {
    if (!closing_) {
        placement_->chooseSize();
    }
}

void CNote::setNoteDialogs(INoteDialogs* dialogs) {
    look_->setDialogs(dialogs);
    if (editor_ != nullptr) {
        editor_->setDialogs(dialogs);
    }
}

std::unique_ptr<QMenu> CNote::buildMenu(NoteMenu which, QWidget* parent) {
    return buildNoteMenu(which, *this, parent);
}

void CNote::setAttachmentsShown(bool show) {
    if (closing_) {
        return;
    }
    links_ = show ? 1 : 0;
    store_.SetNote(nid_, links_, note::links);
    store_.RequestSave(SaveUrgency::Soon);
    // Asked for by name, the panel shows even under a collapsed note.
    placement_->showAttachPanel(show && isVisible());
}

void CNote::setAttachPanel(QWidget* panel) {
    attachPanel_ = panel;
    placement_->placeAttachPanel();
}

}  // namespace bp
