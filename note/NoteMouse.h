#pragma once

#include <QObject>
#include <QPoint>

class QMouseEvent;
class QWidget;

namespace bp {

class CNote;
class CNoteAppearance;
class CNoteWindowPlacement;

// The pointer over a note without a frame of its own: near an edge it sizes the note, on the
// title bar or a locked body it drags it, and the cursor shows which. Watches the note's title
// and body; the note hands it the presses on itself.
class CNoteMouse : public QObject {
    Q_OBJECT
public:
    CNoteMouse(CNote& note, CNoteWindowPlacement& placement, CNoteAppearance& look);

    void watch(QWidget* widget);
    // A press on the note's own window, between its children; true when it was taken.
    bool pressOnNote(QMouseEvent& event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Qt::Edges edgesAt(const QPoint& notePos) const;
    // Any left press on the note ends flashing and the alarm's sound.
    void pressedByUser();

    CNote& note_;
    CNoteWindowPlacement& placement_;
    CNoteAppearance& look_;
};

}  // namespace bp
