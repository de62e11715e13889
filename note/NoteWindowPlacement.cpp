#include "NoteWindowPlacement.h"

#include "Note.h"
#include "NoteGeometry.h"
#include "SetSizeDialog.h"

#include <QEvent>
#include <QTimer>
#include <QWindow>

#include <algorithm>

namespace bp {

namespace {

// How long after a shown note is first exposed a move of the window manager still counts as
// its placement of the note.
constexpr int kPlacementGraceMs = 500;

}  // namespace

CNoteWindowPlacement::CNoteWindowPlacement(CNote& note) : QObject(nullptr), note_(note) {
    placementTimer_ = new QTimer(this);
    placementTimer_->setSingleShot(true);
    placementTimer_->setInterval(kPlacementGraceMs);
    connect(placementTimer_, &QTimer::timeout, this, &CNoteWindowPlacement::placementDone);
}

void CNoteWindowPlacement::moveAndResize(const QRect& rect) {
    note_.move(rect.topLeft());
    note_.resize(rect.size());
}

QRect CNoteWindowPlacement::storedRect() const {
    CNotesDatabase& store = note_.store();
    return QRect(store.GetNote(kLiveSource, note_.nid(), note::xPos),
                 store.GetNote(kLiveSource, note_.nid(), note::yPos),
                 store.GetNote(kLiveSource, note_.nid(), note::Width),
                 store.GetNote(kLiveSource, note_.nid(), note::Height));
}

void CNoteWindowPlacement::expandToStored() {
    CNotesDatabase& store = note_.store();
    const QRect record = storedRect();
    Rect stored{record.x(), record.y(), record.width(), record.height()};
    if (setting::get(store, setting::move) == 0) {
        const Rect screen = note_.platform().desktop->screenRect();
        stored = clampToDesktop(stored, screen.width, screen.height);
    }
    store.SetNote(note_.nid(), stored.x, note::xPos);
    store.SetNote(note_.nid(), stored.y, note::yPos);
    store.SetNote(note_.nid(), stored.width, note::Width);
    store.SetNote(note_.nid(), stored.height, note::Height);
    updateSizeLimits();
    moveAndResize(QRect(stored.x, stored.y, stored.width, stored.height));
}

void CNoteWindowPlacement::collapseTo(const QRect& rect) {
    updateSizeLimits();
    moveAndResize(rect);
}

void CNoteWindowPlacement::moveToStored() {
    QRect stored = storedRect();
    if (!note_.isBodyShown()) {
        stored.setHeight(collapsedHeight(note_.currentTitleHeight()));
    }
    moveAndResize(stored);
}

void CNoteWindowPlacement::maximize() {
    Rect area = note_.platform().desktop->availableRect();
    if (QWidget* panel = note_.attachPanel(); panel != nullptr && panel->isVisible()) {
        area.height -= panel->height();
    }
    moveAndResize(QRect(area.x, area.y, area.width, area.height));
}

void CNoteWindowPlacement::chooseSize() {
    note_.finishTitleEdit();
    note_.BeginModal();
    const QRect stored = storedRect();
    CSetSize dialog(&note_, stored.size());
    if (note_.runModal(dialog) == QDialog::Accepted) {
        const QSize size = dialog.chosenSize();
        // The exact size wins over the size limits, until the user next resizes the note.
        note_.setMinimumSize(std::min(note_.minimumWidth(), size.width()),
                             std::min(note_.minimumHeight(), size.height()));
        limitsRelaxed_ = true;
        note_.resize(size);
        note_.store().SetNote(note_.nid(), size.width(), note::Width);
        note_.store().SetNote(note_.nid(), size.height(), note::Height);
        note_.LayoutChildren();
    }
    note_.EndModal();
}

void CNoteWindowPlacement::updateSizeLimits() {
    CNotesDatabase& store = note_.store();
    const int minWidth = std::max(1, setting::get(store, setting::minWidth));
    if (note_.isBodyShown()) {
        note_.setMinimumSize(minWidth, std::max(1, setting::get(store, setting::minHeight)));
        note_.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    } else {
        const int fixed = collapsedHeight(note_.currentTitleHeight());
        note_.setMinimumSize(minWidth, fixed);
        note_.setMaximumSize(QWIDGETSIZE_MAX, fixed);
    }
}

void CNoteWindowPlacement::sizeLimitsChanged() {
    CNotesDatabase& store = note_.store();
    const int minWidth = std::max(1, setting::get(store, setting::minWidth));
    // A collapsed note's height is fixed by its title bar, whatever the settings say.
    const int minHeight = note_.isBodyShown() ? std::max(1, setting::get(store, setting::minHeight))
                                              : note_.minimumHeight();
    if (note_.width() < minWidth || note_.height() < minHeight) {
        note_.setMinimumSize(std::min(minWidth, note_.width()),
                             std::min(minHeight, note_.height()));
        limitsRelaxed_ = true;
        return;
    }
    updateSizeLimits();
}

void CNoteWindowPlacement::awaitPlacement() {
    awaitingPlacement_ = true;
    placement_ = note_.pos();
    placementTimer_->stop();
}

void CNoteWindowPlacement::watchPlacement() {
    if (QWindow* handle = note_.windowHandle()) {
        handle->installEventFilter(this);
        if (handle->isExposed()) {
            placementTimer_->start();
        }
    }
}

void CNoteWindowPlacement::stopAwaiting() {
    awaitingPlacement_ = false;
    placementTimer_->stop();
}

void CNoteWindowPlacement::placementDone() {
    if (!awaitingPlacement_) {
        return;
    }
    awaitingPlacement_ = false;
    placementTimer_->stop();
    if (note_.isVisible() && note_.pos() != placement_) {
        note_.move(placement_);
    }
}

bool CNoteWindowPlacement::eventFilter(QObject* watched, QEvent* event) {
    // The window manager's placement comes about when the note is first exposed, just before
    // or just after.
    if (!note_.closing() && watched == note_.windowHandle() && event->type() == QEvent::Expose &&
        awaitingPlacement_ && note_.windowHandle()->isExposed() && !placementTimer_->isActive()) {
        placementTimer_->start();
    }
    return false;
}

bool CNoteWindowPlacement::takeMove(bool spontaneous) {
    const QPoint pos = note_.pos();
    if (awaitingPlacement_) {
        if (spontaneous && pos != placement_) {
            return false;
        }
        placement_ = pos;
    }
    if (!collapseMoving_) {
        cachedPosition_ = pos;
    } else {
        collapseMoving_ = false;
    }
    note_.store().SetNote(note_.nid(), pos.x(), note::xPos);
    note_.store().SetNote(note_.nid(), pos.y(), note::yPos);
    placeAttachPanel();
    return true;
}

void CNoteWindowPlacement::takeResize() {
    if (limitsRelaxed_ && !note_.modalOpen()) {
        limitsRelaxed_ = false;
        updateSizeLimits();
    }
    note_.store().SetNote(note_.nid(), note_.width(), note::Width);
    if (note_.isBodyShown()) {
        note_.store().SetNote(note_.nid(), note_.height(), note::Height);
    }
}

void CNoteWindowPlacement::writeGeometryIfChanged() {
    // Until the window manager has placed the note, where it is may be the manager's idea.
    if (!note_.isVisible() || awaitingPlacement_) {
        return;
    }
    if (note_.geometry() == storedRect()) {
        return;
    }
    CNotesDatabase& store = note_.store();
    store.SetNote(note_.nid(), note_.x(), note::xPos);
    store.SetNote(note_.nid(), note_.y(), note::yPos);
    store.SetNote(note_.nid(), note_.width(), note::Width);
    if (note_.isBodyShown()) {
        store.SetNote(note_.nid(), note_.height(), note::Height);
    }
}

void CNoteWindowPlacement::showAttachPanel(bool show) {
    QWidget* panel = note_.attachPanel();
    if (panel == nullptr) {
        return;
    }
    if (show) {
        panel->setAttribute(Qt::WA_ShowWithoutActivating);
        panel->show();
        placeAttachPanel();
    } else {
        panel->hide();
    }
}

void CNoteWindowPlacement::placeAttachPanel() {
    if (QWidget* panel = note_.attachPanel()) {
        panel->setGeometry(note_.x(), note_.y() + note_.height(), note_.width(), panel->height());
    }
}

}  // namespace bp
