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

    // A period of 0 or less would fire without pause; such a timer stays off.
    void start(int id, int milliseconds);
    void stop(int id);
    void stopAll();
    bool isActive(int id) const;
    // The period of a running timer, 0 when it is not running.
    int interval(int id) const;

signals:
    void fired(int id);

private:
    std::map<int, QTimer*> timers_;
};

}  // namespace bp
