#include "TrayIcon.h"

#include "TrayMenu.h"
#include "TrayText.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>
#include <QIcon>
#include <QSystemTrayIcon>

namespace bp {

namespace {

const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");

// Whether a panel on the session bus shows StatusNotifier items. Qt makes the icon such an item
// exactly then, and an XEmbed icon otherwise, but does not say which it made: this asks the
// watcher the question Qt asks it.
bool statusNotifierHostPresent() {
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || bus.interface() == nullptr ||
        !bus.interface()->isServiceRegistered(kWatcher).value()) {
        return false;
    }
    QDBusMessage get = QDBusMessage::createMethodCall(
        kWatcher, QStringLiteral("/StatusNotifierWatcher"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << kWatcher << QStringLiteral("IsStatusNotifierHostRegistered");
    // A watcher that hangs must not hold up start-up for long.
    constexpr int kTimeoutMs = 2000;
    const QDBusReply<QDBusVariant> reply = bus.call(get, QDBus::Block, kTimeoutMs);
    return reply.isValid() && reply.value().variant().toBool();
}

}  // namespace

TrayIcon::TrayIcon(QObject* parent) : QObject(parent) {}

TrayIcon::~TrayIcon() {
    // The icon before its menu: an exported menu is withdrawn from the bus with the icon.
    remove();
}

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
    if (statusNotifierHostPresent()) {
        // The panel shows the exported menu itself on a right click. Set before the icon
        // shows, so the item registers with its menu. An XEmbed icon gets no context menu:
        // Qt would open it at the press as well as the one showMenu opens.
        icon_->setContextMenu(menu_.get());
    }
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

bool TrayIcon::showMenu(Point cursor) {
    if (!menu_) {
        return false;
    }
    // The menu's bottom-right corner at the pointer; Qt moves it onto the screen when the
    // tray sits at the top.
    const QSize size = menu_->sizeHint();
    menu_->popup(QPoint(cursor.x - size.width(), cursor.y - size.height()));
    menu_->activateWindow();
    ++menuOpenings_;
    return true;
}

}  // namespace bp
