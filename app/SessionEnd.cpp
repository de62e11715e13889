#include "SessionEnd.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <sys/socket.h>
#include <unistd.h>
#include <csignal>

namespace bp {

namespace {

// The signal handler may only write to this pipe and set the flag; the GUI thread reads them.
int gSignalPipe[2] = {-1, -1};
volatile std::sig_atomic_t gSignalled = 0;

}  // namespace

bool SessionEnd::signalled() {
    return gSignalled != 0;
}

void SessionEnd::onSignal(int signal) {
    gSignalled = 1;
    const char byte = static_cast<char>(signal);
    [[maybe_unused]] ssize_t n = ::write(gSignalPipe[0], &byte, 1);
}

SessionEnd::SessionEnd(QObject* parent) : QObject(parent) {
    // Non-blocking, so that the handler never waits on a pipe that nobody empties.
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, gSignalPipe) == 0) {
        notifier_ = new QSocketNotifier(gSignalPipe[1], QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, [this] {
            char bytes[64];
            while (::read(gSignalPipe[1], bytes, sizeof bytes) > 0) {
            }
            emit ending();
        });
        struct sigaction action {};
        action.sa_handler = &SessionEnd::onSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
            ::sigaction(sig, &action, nullptr);
        }
    }
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) {
            gSignalled = 1;
            emit ending();
        });
    }
}

SessionEnd::~SessionEnd() {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
        ::sigaction(sig, &action, nullptr);
    }
}

}  // namespace bp
