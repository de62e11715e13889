#include "DialogStacking.h"

#include "platform/WindowSystem.h"

#include <QDialog>
#include <QEvent>
#include <QPointer>
#include <QWindow>

namespace bp {

namespace {

// Raises and activates a dialog at its first expose: a window mapped in a layer is placed
// under the window that has the focus when the window manager prevents focus stealing.
class RaiseWhenExposed : public QObject {
public:
    RaiseWhenExposed(QWindow& handle, QDialog& dialog, IWindowSystem& windows)
        : QObject(&handle), dialog_(&dialog), windows_(windows) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
            if (dialog_ != nullptr && dialog_->isVisible()) {
                windows_.activate(dialog_);
            }
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }

private:
    QPointer<QDialog> dialog_;
    IWindowSystem& windows_;
};

}  // namespace

DialogStacking::DialogStacking(IWindowSystem& windows, QObject* parent)
    : QObject(parent), windows_(windows) {}

bool DialogStacking::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Show || !watched->isWidgetType()) {
        return false;
    }
    auto* dialog = qobject_cast<QDialog*>(watched);
    if (dialog == nullptr || !dialog->isWindow() || event->spontaneous()) {
        return false;
    }
    // The Show event comes before the window is mapped, so the layer is in place when the
    // window manager takes the dialog on.
    windows_.setStacking(dialog, IWindowSystem::Stacking::Top);
    // Which button Enter presses must be visible before the user touches a key.
    dialog->setAttribute(Qt::WA_KeyboardFocusChange);
    // A window shown for a look (the Notes Manager from the tray) keeps the focus where it is.
    if (QWindow* handle = dialog->windowHandle();
        handle != nullptr && !dialog->testAttribute(Qt::WA_ShowWithoutActivating)) {
        handle->installEventFilter(new RaiseWhenExposed(*handle, *dialog, windows_));
    }
    return false;
}

}  // namespace bp
