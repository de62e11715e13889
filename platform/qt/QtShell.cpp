#include "QtShell.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace bp {

namespace {

// "www.example.com" and bare paths are what users type; the opener wants full URLs.
QUrl urlFor(const QString& target) {
    if (QFileInfo::exists(target)) {
        return QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath());
    }
    QUrl parsed(target, QUrl::StrictMode);
    if (parsed.isValid() && !parsed.scheme().isEmpty() && parsed.scheme().size() > 1) {
        return parsed;
    }
    return QUrl::fromUserInput(target, QDir::currentPath());
}

}  // namespace

bool QtShell::open(const std::string& target) {
    const QString text = QString::fromStdString(target).trimmed();
    if (text.isEmpty()) {
        return false;
    }
    const QString opener = qEnvironmentVariable("BRIGHTPOST_OPENER");
    if (!opener.isEmpty()) {
        // An argument vector, not a command line: the target cannot be read as shell syntax.
        return QProcess::startDetached(opener, {text});
    }
    const QUrl url = urlFor(text);
    return url.isValid() && QDesktopServices::openUrl(url);
}

bool QtShell::startProgram(const std::vector<std::string>& command) {
    if (command.empty() || command.front().empty()) {
        return false;
    }
    QStringList arguments;
    for (std::size_t i = 1; i < command.size(); ++i) {
        arguments << QString::fromStdString(command[i]);
    }
    return QProcess::startDetached(QString::fromStdString(command.front()), arguments,
                                   QDir::homePath());
}

}  // namespace bp
