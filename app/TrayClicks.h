#pragma once

#include "qtsupport/PacedTimer.h"

#include <QObject>

namespace bp {

// Tells a single click on the tray icon from a double click. A click counts only once no
// second one has followed within the wait. Desktops report a double click in two ways: an
// XEmbed tray sends a click for each press and a double click with the second, a
// StatusNotifier host only a click for each press. Whichever comes first makes the double
// click; the other is swallowed.
class TrayClicks : public QObject {
    Q_OBJECT
public:
    explicit TrayClicks(QObject* parent = nullptr);

    void clicked();
    void doubleClicked();
    void stop() { wait_.stop(); }
    // The wait after a click for a second one.
    const PacedTimer& wait() const { return wait_; }

signals:
    void singleClick();
    void doubleClick();

private:
    void waited();
    void countDouble();

    PacedTimer wait_;
    bool doubled_ = false;
};

}  // namespace bp
