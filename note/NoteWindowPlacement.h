#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>

class QTimer;

namespace bp {

class CNote;

// Where a note's window stands and how large it is: its size limits, the place the record
// holds and the way back to it, the window manager's placement of a note being shown, and the
// attach panel glued under the note. Every change the user makes is written to the record.
class CNoteWindowPlacement : public QObject {
    Q_OBJECT
public:
    explicit CNoteWindowPlacement(CNote& note);

    void moveAndResize(const QRect& rect);
    // The place and size the record holds.
    QRect storedRect() const;
    // Expanded at the stored place, pulled onto the desktop unless the settings let notes off it.
    void expandToStored();
    // Collapsed to its title bar at `rect`, which is read before the limits change the size.
    void collapseTo(const QRect& rect);
    // At the stored place and width; the stored height unless collapsed.
    void moveToStored();
    // Over the desktop's free area, leaving room for a shown attach panel.
    void maximize();
    // The size dialog; an exact size may be below the limits until the user next sizes the note.
    void chooseSize();

    void updateSizeLimits();
    // The settings' minimum note size changed. A note now below it keeps its size until the
    // user next sizes it, as after an exact size.
    void sizeLimitsChanged();

    // Around show(): from then until the window manager has taken the note on, a move it
    // makes (out of a panel's way, say) is its own idea, not the user's. It is not written,
    // and the note goes back to its place once the manager is done.
    void awaitPlacement();
    void watchPlacement();
    void stopAwaiting();
    void placementDone();

    // A move of the shown note; false for the manager's placement, which is not recorded.
    bool takeMove(bool spontaneous);
    // A resize of the shown note.
    void takeResize();
    // Writes where the note is when the record says otherwise.
    void writeGeometryIfChanged();

    // Where a collapsed note goes back to: the last place the user moved it to.
    QPoint cachedPosition() const { return cachedPosition_; }
    void setCachedPosition(const QPoint& position) { cachedPosition_ = position; }
    // The next move is the collapse's or expansion's own, not a new place.
    void setCollapseMoving(bool moving) { collapseMoving_ = moving; }

    void showAttachPanel(bool show);
    void placeAttachPanel();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CNote& note_;
    QPoint cachedPosition_;
    bool collapseMoving_ = false;
    bool awaitingPlacement_ = false;
    QPoint placement_;
    QTimer* placementTimer_ = nullptr;
    // After an exact size below the limits, the limits return with the next user resize.
    bool limitsRelaxed_ = false;
};

}  // namespace bp
