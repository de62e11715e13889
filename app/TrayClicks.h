#pragma once

#include "qtsupport/PacedTimer.h"

#include <QObject>

namespace bp {

// Tells a single click on the tray icon from a double click. The desktop reports the first
// press of a double click as a click too, so a click counts only once no second press has
// followed within the wait.
class TrayClicks : public QObject {
    Q_OBJECT
public:
    explicit TrayClicks(QObject* parent = nullptr);

    void clicked();
    // Swallows the click that began it.
    void doubleClicked() { doubled_ = true; }
    void stop() { wait_.stop(); }
    // The wait after a click for a second one.
    const PacedTimer& wait() const { return wait_; }

signals:
    void singleClick();

private:
    void waited();

    PacedTimer wait_;
    bool doubled_ = false;
};

}  // namespace bp
