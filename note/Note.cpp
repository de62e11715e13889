#include "Note.h"

#include "BodyEditor.h"
#include "ColorSchemes.h"
#include "DeleteNoteDialog.h"
#include "NoteAccessibility.h"
#include "NoteAlarmHost.h"
#include "NoteBody.h"
#include "NoteGeometry.h"
#include "NoteKeyboard.h"
#include "ReadAloud.h"
#include "SetSizeDialog.h"
#include "Title.h"
#include "alarmui/StopAlarm.h"
#include "output/NoteOutput.h"
#include "platform/Messages.h"
#include "platform/TimeText.h"
#include "qtsupport/StoredText.h"
#include "ui/NoteDialogs.h"
#include "ui/NoteStyle.h"
#include "ui/TransparencyDialog.h"

#include <QApplication>
#include <QBackingStore>
#include <QCloseEvent>
#include <QCursor>
#include <QDialog>
#include <QMouseEvent>
#include <QPainter>
#include <QTextCursor>
#include <QTimer>
#include <QWindow>

#include <random>

namespace bp {

namespace {

constexpr int kResizeMargin = 4;
// How long after a shown note is first exposed a move of the window manager still counts as
// its placement of the note.
constexpr int kPlacementGraceMs = 500;

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
      alarmHost_(std::make_unique<AlarmHost>(*this)),
      alarm_(*alarmHost_) {
    installNoteAccessibility();
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    connect(&hoverTimer_, &PacedTimer::fired, this,
            [this] { alarm_.runTimerWork([this] { onHoverTick(); }, {}); });
    connect(&autoLockTimer_, &PacedTimer::fired, this,
            [this] { alarm_.runTimerWork({}, [this] { autoLock(); }); });
    placementTimer_ = new QTimer(this);
    placementTimer_->setSingleShot(true);
    placementTimer_->setInterval(kPlacementGraceMs);
    connect(placementTimer_, &QTimer::timeout, this, &CNote::placementDone);
    auto engine = std::make_shared<std::minstd_rand>(
        static_cast<std::minstd_rand::result_type>(platform_.clock->tickCount() + nid));
    random_ = [engine] { return static_cast<unsigned>((*engine)()); };
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
    if (dialogs_ == nullptr) {
        dialogs_ = &standardNoteDialogs();
    }
    editor_->setDialogs(dialogs_);
    connect(editor_, &CBodyEditor::randomColorsRequested, this, &CNote::ApplyRandomScheme);
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

    bodyFont_ = store_.GetNote(kLiveSource, nid_, note::bodyFontType);
    bodyFontColor_ = colorFromStored(store_.GetNote(kLiveSource, nid_, note::bodyFontColor));
    bodyBackColor_ = colorFromStored(store_.GetNote(kLiveSource, nid_, note::bodyBackColor));
    isBody_ = store_.GetNote(kLiveSource, nid_, note::isBody);
    isEdit_ = store_.GetNote(kLiveSource, nid_, note::isEdit);
    transparency_ = store_.GetNote(kLiveSource, nid_, note::Transparency);
    links_ = store_.GetNote(kLiveSource, nid_, note::links);
    currentTitleHeight_ = setting::get(store_, setting::titleHeight);
    if (currentTitleHeight_ <= 0) {
        currentTitleHeight_ = kExpandedTitleHeight;
    }
    priority_ = store_.GetNote(kLiveSource, nid_, note::priority);

    const std::uint32_t created = store_.GetNote(kLiveSource, nid_, note::time);
    createdText_ = displayTime(*platform_.clock, created);

    editor_->setInsertionColor(bodyFontColor_);
    editor_->setInsertionFont(bodyFont_);
    std::string stored;
    if (store_.GetNoteBody(kLiveSource, nid_, stored)) {
        body_->loadStored(stored);
    }
    QTextCursor cursor = body_->textCursor();
    cursor.clearSelection();
    body_->setTextCursor(cursor);

    cachedPosition_ = QPoint(store_.GetNote(kLiveSource, nid_, note::xPos),
                             store_.GetNote(kLiveSource, nid_, note::yPos));
    cachedWidth_ = store_.GetNote(kLiveSource, nid_, note::Width);
    cachedHeight_ = store_.GetNote(kLiveSource, nid_, note::Height);
    moveAndResize(QRect(cachedPosition_, QSize(cachedWidth_, cachedHeight_)));

    titleRect_ = QRect(0, 0, cachedWidth_, currentTitleHeight_);
    bodyRect_ = QRect(QPoint(0, currentTitleHeight_), QPoint(cachedWidth_ - 1, cachedHeight_ - 1));
    collapseMoving_ = false;
    LayoutChildren();

    SetBodyShown(isBody_ != 0, false);
    SetEditable(isEdit_ != 0, false);
    ApplyTransparency();
    title_->setPriorityImage(priority_);
    alarm_.load();

    body_->installEventFilter(this);
    body_->viewport()->installEventFilter(this);
    title_->installEventFilter(this);
    title_->setMouseTracking(true);
    body_->viewport()->setMouseTracking(true);

    hoverTimer_.startShared(1000);
    creating_ = false;
}

void CNote::moveAndResize(const QRect& rect) {
    move(rect.topLeft());
    resize(rect.size());
}

void CNote::awaitPlacement() {
    awaitingPlacement_ = true;
    placement_ = pos();
    placementTimer_->stop();
}

void CNote::watchPlacement() {
    if (QWindow* handle = windowHandle()) {
        handle->installEventFilter(this);
        if (handle->isExposed()) {
            placementTimer_->start();
        }
    }
}

void CNote::placementDone() {
    if (!awaitingPlacement_) {
        return;
    }
    awaitingPlacement_ = false;
    placementTimer_->stop();
    if (isVisible() && pos() != placement_) {
        move(placement_);
    }
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
            awaitPlacement();
        }
        QWidget::show();
        if (wasHidden) {
            watchPlacement();
            platform_.windows->windowShown(this);
        }
        title_->layoutButtons();
        if (links_ != 0 && (isBody_ != 0 || setting::get(store_, setting::hideAttach) == 0)) {
            showAttachPanel(true);
        }
    } else {
        awaitingPlacement_ = false;
        placementTimer_->stop();
        QWidget::hide();
        showAttachPanel(false);
        // A hidden note keeps its window but not the picture of it (a few hundred KB for a
        // large note); showing it again paints it afresh anyway.
        if (QBackingStore* picture = backingStore()) {
            picture->resize(QSize(1, 1));
        }
    }
}

void CNote::ApplyPriorityZOrder() {
    if (keepZOrder_ || closing_) {
        return;
    }
    switch (priority_) {
        case 0:
            platform_.windows->setStacking(this, IWindowSystem::Stacking::Bottom);
            break;
        case 1:
            platform_.windows->setStacking(this, IWindowSystem::Stacking::Normal);
            break;
        case 2:
            platform_.windows->setStacking(this, IWindowSystem::Stacking::Top);
            break;
        default:
            // An unknown priority leaves the stacking as it is.
            break;
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
    placeAttachPanel();
}

void CNote::updateSizeLimits() {
    const int minWidth = std::max(1, setting::get(store_, setting::minWidth));
    if (isBody_ != 0) {
        setMinimumSize(minWidth, std::max(1, setting::get(store_, setting::minHeight)));
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    } else {
        const int fixed = collapsedHeight(currentTitleHeight_);
        setMinimumSize(minWidth, fixed);
        setMaximumSize(QWIDGETSIZE_MAX, fixed);
    }
}

void CNote::SizeLimitsChanged() {
    const int minWidth = std::max(1, setting::get(store_, setting::minWidth));
    // A collapsed note's height is fixed by its title bar, whatever the settings say.
    const int minHeight =
        isBody_ != 0 ? std::max(1, setting::get(store_, setting::minHeight)) : minimumHeight();
    if (width() < minWidth || height() < minHeight) {
        setMinimumSize(std::min(minWidth, width()), std::min(minHeight, height()));
        limitsRelaxed_ = true;
        return;
    }
    updateSizeLimits();
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
        Rect stored{store_.GetNote(kLiveSource, nid_, note::xPos),
                    store_.GetNote(kLiveSource, nid_, note::yPos),
                    store_.GetNote(kLiveSource, nid_, note::Width),
                    store_.GetNote(kLiveSource, nid_, note::Height)};
        if (setting::get(store_, setting::move) == 0) {
            const Rect screen = platform_.desktop->screenRect();
            stored = clampToDesktop(stored, screen.width, screen.height);
        }
        store_.SetNote(nid_, stored.x, note::xPos);
        store_.SetNote(nid_, stored.y, note::yPos);
        store_.SetNote(nid_, stored.width, note::Width);
        store_.SetNote(nid_, stored.height, note::Height);
        cachedWidth_ = stored.width;
        cachedHeight_ = stored.height;
        updateSizeLimits();
        moveAndResize(QRect(stored.x, stored.y, stored.width, stored.height));
    } else {
        // Read before the new size limits resize the window, which writes its size.
        const int storedWidth = store_.GetNote(kLiveSource, nid_, note::Width);
        isBody_ = 0;
        currentTitleHeight_ = kCollapsedTitleHeight;
        body_->hide();
        updateSizeLimits();
        moveAndResize(
            QRect(cachedPosition_, QSize(storedWidth, collapsedHeight(currentTitleHeight_))));
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

void CNote::ApplyTransparency() {
    if (closing_) {
        return;
    }
    double opacity = 1.0;
    if (transparency_ != 0) {
        const int level = store_.GetNote(kLiveSource, nid_, note::TransLevel);
        opacity = std::clamp(level, 55, 255) / 255.0;
    }
    platform_.windows->setOpacity(this, opacity);
    if (attachPanel_ != nullptr) {
        platform_.windows->setOpacity(attachPanel_, opacity);
    }
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
    moveAndResize(geometry());
    LayoutChildren();
    TakeFocus(Focus::Note);
}

void CNote::moveToStored() {
    if (closing_) {
        return;
    }
    const int height = isBody_ != 0 ? store_.GetNote(kLiveSource, nid_, note::Height)
                                    : collapsedHeight(currentTitleHeight_);
    moveAndResize(QRect(store_.GetNote(kLiveSource, nid_, note::xPos),
                        store_.GetNote(kLiveSource, nid_, note::yPos),
                        store_.GetNote(kLiveSource, nid_, note::Width), height));
    LayoutChildren();
    TakeFocus(Focus::Note);
}

void CNote::collapseAtStored() {
    if (closing_) {
        return;
    }
    // Read before the new size limits resize the window, which writes its size.
    const QRect stored(store_.GetNote(kLiveSource, nid_, note::xPos),
                       store_.GetNote(kLiveSource, nid_, note::yPos),
                       store_.GetNote(kLiveSource, nid_, note::Width),
                       collapsedHeight(kCollapsedTitleHeight));
    if (isBody_ != 0 && links_ != 0 && setting::get(store_, setting::hideAttach) != 0) {
        showAttachPanel(false);
    }
    isBody_ = 0;
    currentTitleHeight_ = kCollapsedTitleHeight;
    body_->hide();
    updateSizeLimits();
    moveAndResize(stored);
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
    collapseMoving_ = true;
    if (isEdit_ == 0) {
        SetEditable(true, true);
    } else if (isBody_ != 0) {
        if (links_ != 0 && setting::get(store_, setting::hideAttach) != 0) {
            showAttachPanel(false);
        }
        SetBodyShown(false, false);
    } else {
        if (links_ != 0) {
            showAttachPanel(true);
        }
        SetBodyShown(true, false);
    }
    collapseMoving_ = false;
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

void CNote::onHoverTick() {
    if (transparency_ == 0 || !isVisible()) {
        return;
    }
    if (geometry().contains(QCursor::pos())) {
        showOpaque();
    } else if (hoverOpaque_ && !bodyFocused_) {
        hoverOpaque_ = false;
        ApplyTransparency();
    }
}

void CNote::showOpaque() {
    if (transparency_ == 0 || hoverOpaque_) {
        return;
    }
    hoverOpaque_ = true;
    platform_.windows->setOpacity(this, 1.0);
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
    dialog.move(cachedPosition_);
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
    writeGeometryIfChanged();
}

void CNote::writeGeometryIfChanged() {
    // Until the window manager has placed the note, where it is may be the manager's idea.
    if (!isVisible() || awaitingPlacement_) {
        return;
    }
    const int x = store_.GetNote(kLiveSource, nid_, note::xPos);
    const int y = store_.GetNote(kLiveSource, nid_, note::yPos);
    const int w = store_.GetNote(kLiveSource, nid_, note::Width);
    const int h = store_.GetNote(kLiveSource, nid_, note::Height);
    if (geometry() == QRect(x, y, w, h)) {
        return;
    }
    store_.SetNote(nid_, this->x(), note::xPos);
    store_.SetNote(nid_, this->y(), note::yPos);
    store_.SetNote(nid_, width(), note::Width);
    if (isBody_ != 0) {
        store_.SetNote(nid_, height(), note::Height);
    }
}

void CNote::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), bodyBackColor_);
}

void CNote::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (closing_ || !isVisible() || creating_) {
        return;
    }
    if (awaitingPlacement_) {
        if (event->spontaneous() && pos() != placement_) {
            return;
        }
        placement_ = pos();
    }
    if (!collapseMoving_) {
        cachedPosition_ = pos();
    } else {
        collapseMoving_ = false;
    }
    store_.SetNote(nid_, x(), note::xPos);
    store_.SetNote(nid_, y(), note::yPos);
    placeAttachPanel();
    StoreBody();
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
    if (limitsRelaxed_ && !modalOpen_) {
        limitsRelaxed_ = false;
        updateSizeLimits();
    }
    store_.SetNote(nid_, width(), note::Width);
    if (isBody_ != 0) {
        store_.SetNote(nid_, height(), note::Height);
    }
    StoreBody();
}

Qt::Edges CNote::edgesAt(const QPoint& p) const {
    Qt::Edges edges;
    if (p.x() < kResizeMargin) {
        edges |= Qt::LeftEdge;
    }
    if (p.x() >= width() - kResizeMargin) {
        edges |= Qt::RightEdge;
    }
    if (p.y() < kResizeMargin) {
        edges |= Qt::TopEdge;
    }
    if (p.y() >= height() - kResizeMargin && isBody_ != 0) {
        edges |= Qt::BottomEdge;
    }
    return edges;
}

namespace {

Qt::CursorShape cursorFor(Qt::Edges edges) {
    if (edges == (Qt::LeftEdge | Qt::TopEdge) || edges == (Qt::RightEdge | Qt::BottomEdge)) {
        return Qt::SizeFDiagCursor;
    }
    if (edges == (Qt::RightEdge | Qt::TopEdge) || edges == (Qt::LeftEdge | Qt::BottomEdge)) {
        return Qt::SizeBDiagCursor;
    }
    if (edges & (Qt::LeftEdge | Qt::RightEdge)) {
        return Qt::SizeHorCursor;
    }
    return Qt::SizeVerCursor;
}

}  // namespace

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

bool CNote::eventFilter(QObject* watched, QEvent* event) {
    if (closing_) {
        return false;
    }
    if (watched == windowHandle()) {
        // The window manager's placement comes about when the note is first exposed, just
        // before or just after.
        if (event->type() == QEvent::Expose && awaitingPlacement_ && windowHandle()->isExposed() &&
            !placementTimer_->isActive()) {
            placementTimer_->start();
        }
        return false;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr) {
        return false;
    }
    if (widget == body_ && event->type() == QEvent::FocusIn) {
        bodyFocused_ = true;
        showOpaque();
    } else if (widget == body_ && event->type() == QEvent::FocusOut) {
        bodyFocused_ = false;
    }
    if (event->type() == QEvent::MouseMove || event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint notePos = widget->mapTo(this, mouse->position().toPoint());
        const Qt::Edges edges = edgesAt(notePos);
        if (event->type() == QEvent::MouseMove && mouse->buttons() == Qt::NoButton) {
            if (edges) {
                widget->setCursor(cursorFor(edges));
            } else if (widget == body_->viewport()) {
                widget->setCursor(isEdit_ != 0 ? Qt::IBeamCursor : Qt::ArrowCursor);
            } else {
                widget->unsetCursor();
            }
            return false;
        }
        if (event->type() == QEvent::MouseButtonPress) {
            placementDone();
            if (!isActiveWindow() && raisedByAll_) {
                keepZOrder_ = true;
            }
            if (mouse->button() == Qt::LeftButton) {
                pressedByUser();
                if (edges && windowHandle() != nullptr) {
                    windowHandle()->startSystemResize(edges);
                    return true;
                }
                // A locked body is not edited: pressing on it drags the note instead.
                if (widget == body_->viewport() && isEdit_ == 0) {
                    beginDrag();
                    return true;
                }
            }
        }
    }
    return false;
}

void CNote::mousePressEvent(QMouseEvent* event) {
    placementDone();
    if (event->button() == Qt::LeftButton) {
        pressedByUser();
        const Qt::Edges edges = edgesAt(event->position().toPoint());
        if (edges && windowHandle() != nullptr) {
            windowHandle()->startSystemResize(edges);
        } else {
            beginDrag();
        }
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

}  // namespace bp
