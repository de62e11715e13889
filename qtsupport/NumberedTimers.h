#pragma once

#include <QObject>

#include <map>

class QTimer;

namespace bp {

// Timers addressed by the program's timer numbers, as windows have them: starting a running
// timer restarts it with the new period.
class NumberedTimers : public QObject {
    Q_OBJECT
public:
    explicit NumberedTimers(QObject* parent = nullptr) : QObject(parent) {}
    ~NumberedTimers() override;

    // A period of 0 or less would fire without pause; such a timer stays off.
    void start(int id, int milliseconds);
    // Like start, for a timer that only needs to come about once a period, at no particular
    // moment: all such timers of one period in the program share one system timer, so a
    // thousand notes checking something every second wake the program once a second rather
    // than a thousand times. Starting or stopping the timer by its number works as for start.
    void startShared(int id, int milliseconds);
    void stop(int id);
    void stopAll();
    bool isActive(int id) const;
    // The period of a running timer, 0 when it is not running.
    int interval(int id) const;

signals:
    void fired(int id);

private:
    void leaveShared(int id);

    std::map<int, QTimer*> timers_;
    // Numbers running on a shared timer, with their period.
    std::map<int, int> shared_;
};

}  // namespace bp
