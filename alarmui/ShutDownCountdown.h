#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;
class QTimer;

namespace bp {

// The warning before an alarm switches the computer off: it counts a minute down and only
// then shuts down, unless someone presses Cancel (or Escape, or closes it) first. Seconds are
// counted as they tick, not read from the clock, so a machine woken from sleep in the middle
// of the count gets the rest of the minute instead of switching off at once.
class CShutDownCountdown : public QDialog {
    Q_OBJECT
public:
    static constexpr int kSeconds = 60;

    // shutDown runs once, when the count ends or "Shut Down Now" is pressed.
    explicit CShutDownCountdown(std::function<void()> shutDown);

    int secondsLeft() const { return left_; }
    QLabel* message() const { return message_; }
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* shutDownNowButton() const { return now_; }

    // One second has passed; the timer calls it.
    void tick();
    void reject() override;

private:
    void finish(bool shutDown);
    void showLeft();

    std::function<void()> shutDown_;
    QTimer* timer_;
    QLabel* message_;
    QPushButton* cancel_;
    QPushButton* now_;
    int left_ = kSeconds;
    bool finished_ = false;
};

}  // namespace bp
