#pragma once

#include <QObject>

class QTimer;

namespace bp {

// One timer of a window: starting it while it runs restarts it with the new period.
class PacedTimer : public QObject {
    Q_OBJECT
public:
    explicit PacedTimer(QObject* parent = nullptr) : QObject(parent) {}
    ~PacedTimer() override;

    // A period of 0 or less would fire without pause; such a timer stays off.
    void start(int milliseconds);
    // Like start, for a timer that only needs to come about once a period, at no particular
    // moment: all such timers of one period in the program share one system timer, so a
    // thousand notes checking something every second wake the program once a second rather
    // than a thousand times.
    void startShared(int milliseconds);
    void stop();
    bool isActive() const;
    // The period while it runs, 0 when it does not.
    int interval() const;

signals:
    void fired();

private:
    void leaveShared();

    QTimer* timer_ = nullptr;
    // The period of the shared timer it runs on, 0 when it runs on none.
    int sharedPeriod_ = 0;
};

}  // namespace bp
