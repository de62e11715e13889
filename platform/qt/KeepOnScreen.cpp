#include "KeepOnScreen.h"

#include "platform/Desktop.h"
#include "platform/WindowPlacement.h"

#include <QDialog>
#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace bp {

namespace {

// The frame of the last framed window; window managers give all dialogs the same one.
QMargins& knownFrame() {
    static QMargins frame;
    return frame;
}

bool placedByUs(const QWidget& widget) {
    if (!widget.isWindow() || widget.windowType() == Qt::Popup ||
        widget.windowType() == Qt::ToolTip) {
        return false;
    }
    return qobject_cast<const QDialog*>(&widget) != nullptr ||
           widget.property(kDialogLikeProperty).toBool();
}

// Places the window again at its first expose, when its frame is known.
class PlaceWhenExposed : public QObject {
public:
    PlaceWhenExposed(QWindow& handle, QWidget& window, const IDesktop& desktop)
        : QObject(&handle), window_(&window), desktop_(desktop) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
            if (window_ != nullptr && window_->isVisible()) {
                keepOnScreen(*window_, desktop_);
            }
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }

private:
    QPointer<QWidget> window_;
    const IDesktop& desktop_;
};

}  // namespace

void keepOnScreen(QWidget& window, const IDesktop& desktop) {
    QMargins frame;
    if (const QWindow* handle = window.windowHandle()) {
        frame = handle->frameMargins();
    }
    if (!frame.isNull()) {
        knownFrame() = frame;
    } else if (!window.windowFlags().testFlag(Qt::FramelessWindowHint)) {
        frame = knownFrame();
    }
    // A window's position is that of its frame, also before the frame is there: the window
    // manager puts the frame's corner where move() asked.
    const QRect outer(window.pos(), window.size().grownBy(frame));
    const Rect target = placedInside({outer.x(), outer.y(), outer.width(), outer.height()},
                                     desktop.workAreaAtPointer());
    if (target.x != outer.x() || target.y != outer.y()) {
        window.move(target.x, target.y);
    }
}

KeepOnScreen::KeepOnScreen(const IDesktop& desktop, QObject* parent)
    : QObject(parent), desktop_(desktop) {}

bool KeepOnScreen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Show || !watched->isWidgetType() || event->spontaneous()) {
        return false;
    }
    auto* window = static_cast<QWidget*>(watched);
    if (!placedByUs(*window)) {
        return false;
    }
    // The Show event comes before the window is mapped, so it opens where it stays.
    keepOnScreen(*window, desktop_);
    if (QWindow* handle = window->windowHandle()) {
        handle->installEventFilter(new PlaceWhenExposed(*handle, *window, desktop_));
    }
    return false;
}

}  // namespace bp
