// Drives the program's sound and power-off services from the command line, for the tests
// that run them against a private sound server and a private system bus.
//
//   platform_probe can-power-off   prints "true" or "false", then the reason for a "false"
//   platform_probe power-off       prints "true" or "false", then the reason for a "false"
//   platform_probe beep            plays the alarm's four tones; prints "returned playing" (or
//                                  "returned idle" when nothing plays), then, after the time
//                                  the tones take, "done playing" or "done idle"

#include "platform/qt/LogindPowerOff.h"
#include "platform/qt/QtSound.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: platform_probe can-power-off|power-off|beep\n");
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
    return 2;
}
