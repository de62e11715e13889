#pragma once

#include <QObject>

class QSocketNotifier;

namespace bp {

// Turns the ways a desktop session ends a program (SIGTERM, SIGINT, SIGHUP, and the session
// manager's end-of-session request) into one signal on the GUI thread, so the program can
// back up and save before it goes.
class SessionEnd : public QObject {
    Q_OBJECT
public:
    explicit SessionEnd(QObject* parent = nullptr);
    ~SessionEnd() override;

    // Whether a signal has asked the program to end. Safe to ask while the event loop is not
    // running, e.g. during a long set-up.
    static bool signalled();

signals:
    void ending();

private:
    static void onSignal(int signal);
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace bp
