#pragma once

#include <QObject>

class QWidget;

namespace bp {

class IDesktop;

// Moves a window's frame wholly inside the work area of the screen with the pointer, as
// little as it takes. Until the window manager has framed a window, Qt knows no frame for it;
// the frame of a window framed before stands in for it then.
void keepOnScreen(QWidget& window, const IDesktop& desktop);

// Keeps the program's windows on screen: every top-level dialog (the Notes Manager, Find,
// the Recycle Bin, boxes, file choosers) and every window marked with kDialogLikeProperty
// is placed with keepOnScreen when it is shown, before it is mapped, and once more when it
// is first exposed, with the frame the window manager gave it.
class KeepOnScreen : public QObject {
    Q_OBJECT
public:
    explicit KeepOnScreen(const IDesktop& desktop, QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const IDesktop& desktop_;
};

}  // namespace bp
