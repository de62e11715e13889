#include "DialogStacking.h"

#include "platform/Desktop.h"
#include "platform/WindowSystem.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QPointer>
#include <QWindow>

namespace bp {

namespace {

// Raises (and activates) a window at its first expose: a window mapped in a layer is placed
// under the window that has the focus when the window manager prevents focus stealing, and
// a window that takes no focus always is.
class RaiseWhenExposed : public QObject {
public:
    RaiseWhenExposed(QWindow& handle, QWidget& window, IWindowSystem& windows, bool activate)
        : QObject(&handle), window_(&window), windows_(windows), activate_(activate) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
            if (window_ != nullptr && window_->isVisible()) {
                if (activate_) {
                    windows_.activate(window_);
                } else {
                    window_->raise();
                }
            }
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }

private:
    QPointer<QWidget> window_;
    IWindowSystem& windows_;
    const bool activate_;
};

// A dialog opened from another window than its parent's (the Notes Manager's Alarm button
// opens a note's alarm dialog) is owned by that window, the active one, as the window manager
// sees it: window managers keep a dialog above its owner, and a modal one only in its owner's
// layer, so a note's dialog would open under the manager, which is above the notes.
void ownByTheWindowItCameFrom(QDialog& dialog) {
    QWidget* from = QApplication::activeWindow();
    QWindow* handle = dialog.windowHandle();
    if (from == nullptr || from == &dialog || handle == nullptr ||
        dialog.parentWidget() == nullptr || dialog.parentWidget()->window() == from) {
        return;
    }
    if (QWindow* owner = from->windowHandle()) {
        handle->setTransientParent(owner);
    }
}

}  // namespace

DialogStacking::DialogStacking(IWindowSystem& windows, QObject* parent)
    : QObject(parent), windows_(windows) {}

bool DialogStacking::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Show || !watched->isWidgetType()) {
        return false;
    }
    auto* window = static_cast<QWidget*>(watched);
    if (!window->isWindow() || event->spontaneous()) {
        return false;
    }
    if (window->property(kDialogLikeProperty).toBool()) {
        windows_.setStacking(window, IWindowSystem::Stacking::Top);
        if (QWindow* handle = window->windowHandle()) {
            handle->installEventFilter(new RaiseWhenExposed(*handle, *window, windows_, false));
        }
        return false;
    }
    auto* dialog = qobject_cast<QDialog*>(window);
    if (dialog == nullptr) {
        return false;
    }
    // The Show event comes before the window is mapped, so the layer and the owner are in
    // place when the window manager takes the dialog on.
    windows_.setStacking(dialog, IWindowSystem::Stacking::Top);
    ownByTheWindowItCameFrom(*dialog);
    // Which button Enter presses must be visible before the user touches a key.
    dialog->setAttribute(Qt::WA_KeyboardFocusChange);
    // A window shown for a look (the Notes Manager from the tray) keeps the focus where it is.
    if (QWindow* handle = dialog->windowHandle();
        handle != nullptr && !dialog->testAttribute(Qt::WA_ShowWithoutActivating)) {
        handle->installEventFilter(new RaiseWhenExposed(*handle, *dialog, windows_, true));
    }
    return false;
}

}  // namespace bp
