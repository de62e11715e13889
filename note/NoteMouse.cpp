#include "NoteMouse.h"

#include "Note.h"
#include "NoteAppearance.h"
#include "NoteBody.h"
#include "NoteWindowPlacement.h"

#include <QMouseEvent>
#include <QWindow>

namespace bp {

namespace {

constexpr int kResizeMargin = 4;

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

CNoteMouse::CNoteMouse(CNote& note, CNoteWindowPlacement& placement, CNoteAppearance& look)
    : QObject(nullptr), note_(note), placement_(placement), look_(look) {}

void CNoteMouse::watch(QWidget* widget) {
    widget->installEventFilter(this);
}

Qt::Edges CNoteMouse::edgesAt(const QPoint& p) const {
    Qt::Edges edges;
    if (p.x() < kResizeMargin) {
        edges |= Qt::LeftEdge;
    }
    if (p.x() >= note_.width() - kResizeMargin) {
        edges |= Qt::RightEdge;
    }
    if (p.y() < kResizeMargin) {
        edges |= Qt::TopEdge;
    }
    if (p.y() >= note_.height() - kResizeMargin && note_.isBodyShown()) {
        edges |= Qt::BottomEdge;
    }
    return edges;
}

void CNoteMouse::pressedByUser() {
    note_.pressedByUser();
}

bool CNoteMouse::pressOnNote(QMouseEvent& event) {
    placement_.placementDone();
    if (event.button() != Qt::LeftButton) {
        return false;
    }
    pressedByUser();
    const Qt::Edges edges = edgesAt(event.position().toPoint());
    if (edges && note_.windowHandle() != nullptr) {
        note_.windowHandle()->startSystemResize(edges);
    } else {
        note_.beginDrag();
    }
    event.accept();
    return true;
}

bool CNoteMouse::eventFilter(QObject* watched, QEvent* event) {
    if (note_.closing()) {
        return false;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr) {
        return false;
    }
    CNoteBody* body = note_.body();
    if (widget == body && event->type() == QEvent::FocusIn) {
        look_.setBodyFocused(true);
    } else if (widget == body && event->type() == QEvent::FocusOut) {
        look_.setBodyFocused(false);
    }
    if (event->type() != QEvent::MouseMove && event->type() != QEvent::MouseButtonPress) {
        return false;
    }
    auto* mouse = static_cast<QMouseEvent*>(event);
    const Qt::Edges edges = edgesAt(widget->mapTo(&note_, mouse->position().toPoint()));
    if (event->type() == QEvent::MouseMove) {
        if (mouse->buttons() != Qt::NoButton) {
            return false;
        }
        if (edges) {
            widget->setCursor(cursorFor(edges));
        } else if (widget == body->viewport()) {
            widget->setCursor(note_.isEditable() ? Qt::IBeamCursor : Qt::ArrowCursor);
        } else {
            widget->unsetCursor();
        }
        return false;
    }
    placement_.placementDone();
    if (!note_.isActiveWindow() && note_.raisedByAll()) {
        note_.setKeepZOrder(true);
    }
    if (mouse->button() == Qt::LeftButton) {
        pressedByUser();
        if (edges && note_.windowHandle() != nullptr) {
            note_.windowHandle()->startSystemResize(edges);
            return true;
        }
        // A locked body is not edited: pressing on it drags the note instead.
        if (widget == body->viewport() && !note_.isEditable()) {
            note_.beginDrag();
            return true;
        }
    }
    return false;
}

}  // namespace bp
