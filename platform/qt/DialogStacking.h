#pragma once

#include <QObject>

namespace bp {

class IWindowSystem;

// Keeps every dialog of the program — message boxes, questions, file choosers, the program's
// own dialogs — above every note, High notes included: each top-level dialog gets the topmost
// layer before it is mapped, is raised and activated once it is, and shows the keyboard focus
// from the start, so that a box waiting for an answer is never hidden under a note. A window
// marked dialog-like (kDialogLikeProperty) is raised the same way without taking the focus.
class DialogStacking : public QObject {
    Q_OBJECT
public:
    explicit DialogStacking(IWindowSystem& windows, QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    IWindowSystem& windows_;
};

}  // namespace bp
