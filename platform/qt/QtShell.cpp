#include "QtShell.h"

#include <QDesktopServices>
#include <QUrl>

namespace bp {

bool QtShell::open(const std::string& target) {
    const QString text = QString::fromStdString(target);
    // Plain paths are files; everything with a scheme goes as it is.
    const QUrl url = text.startsWith(QLatin1Char('/')) ? QUrl::fromLocalFile(text)
                                                       : QUrl(text, QUrl::StrictMode);
    if (!url.isValid()) {
        return false;
    }
    return QDesktopServices::openUrl(url);
}

}  // namespace bp
