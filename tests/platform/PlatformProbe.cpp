// Drives the program's sound and power-off services from the command line, for the tests
// that run them against a private sound server and a private system bus.
//
//   platform_probe can-power-off   prints "true" or "false", then the reason for a "false"
//   platform_probe power-off       prints "true" or "false", then the reason for a "false"
//   platform_probe beep            plays the alarm's four tones; prints "returned playing" (or
//                                  "returned idle" when nothing plays), then, after the time
//                                  the tones take, "done playing" or "done idle"
//   platform_probe notify-then-close  closes one notification before it could be sent and
//                                  shows a second; prints "shown", or "none" without a session
//                                  bus. At a line on standard input it shows a third and closes
//                                  it before the server can have answered, then the second;
//                                  it ends at the end of standard input

#include "platform/qt/DBusNotifications.h"
#include "platform/qt/LogindPowerOff.h"
#include "platform/qt/QtSound.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdio>
#include <cstring>

#include <unistd.h>

namespace {

bp::IDesktopNotifications::Notification note(const char* summary) {
    bp::IDesktopNotifications::Notification notification;
    notification.summary = summary;
    notification.body = "Milk & eggs <fresh>";
    notification.actions = {{"stop", "Stop"}};
    return notification;
}

int notifyThenClose(QCoreApplication& app) {
    bp::DBusNotifications notifications;
    notifications.close(notifications.show(note("never sent"), {}));
    const bp::IDesktopNotifications::Id kept = notifications.show(note("kept"), {});
    std::printf("%s\n", kept != 0 ? "shown" : "none");
    std::fflush(stdout);
    if (kept == 0) {
        return 0;
    }
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char line[64];
        if (::read(STDIN_FILENO, line, sizeof line) <= 0) {
            input.setEnabled(false);
            QCoreApplication::quit();
            return;
        }
        notifications.close(notifications.show(note("closed at once"), {}));
        notifications.close(kept);
    });
    return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr,
                     "usage: platform_probe can-power-off|power-off|beep|notify-then-close\n");
        return 2;
    }
    if (std::strcmp(argv[1], "can-power-off") == 0) {
        bp::LogindPowerOff power;
        const bool allowed = power.canPowerOff();
        std::printf("%s\n%s\n", allowed ? "true" : "false", power.problem().c_str());
        return 0;
    }
    if (std::strcmp(argv[1], "power-off") == 0) {
        bp::LogindPowerOff power;
        const bool done = power.powerOff();
        std::printf("%s\n%s\n", done ? "true" : "false", power.problem().c_str());
        return 0;
    }
    if (std::strcmp(argv[1], "beep") == 0) {
        bp::QtSound sound;
        sound.playTones({{100, 500}, {200, 500}, {300, 500}, {400, 500}});
        std::printf("returned %s\n", sound.playing() ? "playing" : "idle");
        std::fflush(stdout);
        QTimer::singleShot(4000, &app, &QCoreApplication::quit);
        app.exec();
        std::printf("done %s\n", sound.playing() ? "playing" : "idle");
        return 0;
    }
    if (std::strcmp(argv[1], "notify-then-close") == 0) {
        return notifyThenClose(app);
    }
    return 2;
}
