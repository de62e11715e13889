#include "TrayIcon.h"

#include "TrayMenu.h"
#include "TrayText.h"

#include <QIcon>
#include <QSystemTrayIcon>

namespace bp {

TrayIcon::TrayIcon(QObject* parent) : QObject(parent) {}

TrayIcon::~TrayIcon() = default;

void TrayIcon::create() {
    menu_ = std::make_unique<TrayMenu>();

    // On X11 Qt docks the icon by itself once a tray host appears, even when there was none
    // at start-up.
    icon_ = std::make_unique<QSystemTrayIcon>(QIcon(QStringLiteral(":/icons/tray.svg")));
    connect(icon_.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                switch (reason) {
                    case QSystemTrayIcon::Context:
                        emit contextMenuRequested();
                        break;
                    case QSystemTrayIcon::Trigger:
                        emit clicked();
                        break;
                    case QSystemTrayIcon::DoubleClick:
                        emit doubleClicked();
                        break;
                    default:
                        break;
                }
            });
    icon_->show();
}

void TrayIcon::remove() {
    if (icon_) {
        icon_->hide();
    }
    icon_.reset();
    menu_.reset();
}

void TrayIcon::update(int created, int invisible, int missedAlarms) {
    tip_ = trayTipText(created, created - invisible, invisible, missedAlarms);
    const bool swap = invisible > 0;
    const bool changed = swap != swapped_;
    swapped_ = swap;
    if (!icon_) {
        return;
    }
    icon_->setToolTip(
        QString::fromStdString(tip_).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    if (changed) {
        icon_->setIcon(QIcon(swap ? QStringLiteral(":/icons/tray-hidden.svg")
                                  : QStringLiteral(":/icons/tray.svg")));
    }
}

bool TrayIcon::showMenu(Point cursor, bool recycleBinEnabled, const std::string& newNoteKey,
                        const std::string& showAllKey, const std::string& hideAllKey) {
    if (!menu_) {
        return false;
    }
    menu_->prepare(recycleBinEnabled, newNoteKey, showAllKey, hideAllKey);
    // The menu's bottom-right corner at the pointer; Qt moves it onto the screen when the
    // tray sits at the top.
    const QSize size = menu_->sizeHint();
    menu_->popup(QPoint(cursor.x - size.width(), cursor.y - size.height()));
    menu_->activateWindow();
    ++menuOpenings_;
    return true;
}

}  // namespace bp
