#include "AutostartSync.h"

#include "Autostart.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <string>

namespace bp {

void syncAutostartEntry(bool autorun) {
    const Autostart autostart(QCoreApplication::applicationFilePath().toStdString(),
                              qEnvironmentVariable("XDG_CONFIG_HOME").toStdString(),
                              QDir::homePath().toStdString());
    if (!autostart.installed()) {
        return;
    }
    if (const std::string problem = autostart.apply(autorun); !problem.empty()) {
        std::fprintf(stderr, "brightpost: %s\n", problem.c_str());
    }
}

}  // namespace bp
