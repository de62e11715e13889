#include "DBusNotifications.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>

#include <utility>
#include <vector>

namespace bp {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
// What the server shows as the sender, and the icon the program installs.
const QString kAppName = QStringLiteral("Brightpost");
const QString kAppIcon = QStringLiteral("brightpost");

QDBusMessage serverCall(const QString& method) {
    return QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
}

}  // namespace

DBusNotifications::DBusNotifications(QObject* parent) : QObject(parent) {}

QString DBusNotifications::escapedForMarkup(const QString& text) {
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('&')) {
            escaped += QLatin1String("&amp;");
        } else if (c == QLatin1Char('<')) {
            escaped += QLatin1String("&lt;");
        } else if (c == QLatin1Char('>')) {
            escaped += QLatin1String("&gt;");
        } else {
            escaped += c;
        }
    }
    return escaped;
}

bool DBusNotifications::subscribe() {
    if (subscribed_) {
        return true;
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return false;
    }
    // Followed by the name, so a server that starts (or starts again) later is heard too.
    subscribed_ = bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                              SLOT(actionInvoked(uint, QString))) &&
                  bus.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"),
                              this, SLOT(notificationClosed(uint, uint)));
    return subscribed_;
}

IDesktopNotifications::Id DBusNotifications::show(const Notification& notification,
                                                  Handlers handlers) {
    if (!subscribe()) {
        return 0;
    }
    const Id id = nextId_++;
    entries_[id] = Entry{notification, std::move(handlers), std::nullopt, false};
    if (bodyMarkup_) {
        send(id);
    } else {
        askCapabilities();
    }
    return id;
}

void DBusNotifications::askCapabilities() {
    if (askingCapabilities_) {
        return;
    }
    askingCapabilities_ = true;
    auto* watcher = new QDBusPendingCallWatcher(
        QDBusConnection::sessionBus().asyncCall(serverCall(QStringLiteral("GetCapabilities"))),
        this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            &DBusNotifications::capabilitiesAnswered);
}

void DBusNotifications::capabilitiesAnswered(QDBusPendingCallWatcher* watcher) {
    watcher->deleteLater();
    askingCapabilities_ = false;
    const QDBusPendingReply<QStringList> reply = *watcher;
    std::vector<Id> waiting;
    for (const auto& [id, entry] : entries_) {
        if (!entry.serverId) {
            waiting.push_back(id);
        }
    }
    if (reply.isError()) {
        // No server: what waited is dropped, and the next notification asks again.
        for (const Id id : waiting) {
            entries_.erase(id);
        }
        return;
    }
    bodyMarkup_ = reply.value().contains(QStringLiteral("body-markup"));
    for (const Id id : waiting) {
        send(id);
    }
}

void DBusNotifications::send(Id id) {
    const auto found = entries_.find(id);
    if (found == entries_.end()) {
        return;
    }
    if (found->second.closed) {
        // Closed before it was ever sent.
        entries_.erase(found);
        return;
    }
    const Notification& notification = found->second.notification;
    QStringList actions;
    for (const Action& action : notification.actions) {
        actions << QString::fromStdString(action.key) << QString::fromStdString(action.label);
    }
    QVariantMap hints;
    // The notification protocol wants the urgency as a byte.
    hints.insert(QStringLiteral("urgency"),
                 QVariant::fromValue(static_cast<uchar>(notification.urgency)));
    if (notification.resident) {
        hints.insert(QStringLiteral("resident"), true);
    }
    const QString body = QString::fromStdString(notification.body);
    QDBusMessage call = serverCall(QStringLiteral("Notify"));
    call.setArguments({kAppName, 0u, kAppIcon, QString::fromStdString(notification.summary),
                       bodyMarkup_.value_or(true) ? escapedForMarkup(body) : body, actions, hints,
                       notification.expireTimeoutMs});
    auto* watcher =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, id](QDBusPendingCallWatcher* answered) { notifyAnswered(id, answered); });
}

void DBusNotifications::notifyAnswered(Id id, QDBusPendingCallWatcher* watcher) {
    watcher->deleteLater();
    const QDBusPendingReply<uint> reply = *watcher;
    const auto found = entries_.find(id);
    if (found == entries_.end()) {
        return;
    }
    if (reply.isError()) {
        entries_.erase(found);
        return;
    }
    if (found->second.closed) {
        sendClose(reply.value());
        entries_.erase(found);
        return;
    }
    found->second.serverId = reply.value();
}

void DBusNotifications::close(Id id) {
    const auto found = entries_.find(id);
    if (found == entries_.end()) {
        return;
    }
    found->second.handlers = {};
    if (found->second.serverId) {
        sendClose(*found->second.serverId);
        entries_.erase(found);
    } else {
        found->second.closed = true;
    }
}

void DBusNotifications::sendClose(uint serverId) {
    QDBusMessage call = serverCall(QStringLiteral("CloseNotification"));
    call.setArguments({serverId});
    QDBusConnection::sessionBus().send(call);
}

IDesktopNotifications::Id DBusNotifications::idOf(uint serverId) const {
    for (const auto& [id, entry] : entries_) {
        if (entry.serverId == serverId) {
            return id;
        }
    }
    return 0;
}

void DBusNotifications::actionInvoked(uint serverId, const QString& actionKey) {
    const auto found = entries_.find(idOf(serverId));
    if (found == entries_.end()) {
        return;
    }
    // A copy: the handler may close the notification, which drops its handlers.
    const auto handler = found->second.handlers.actionInvoked;
    if (handler) {
        handler(actionKey.toStdString());
    }
}

void DBusNotifications::notificationClosed(uint serverId, uint reason) {
    const auto found = entries_.find(idOf(serverId));
    if (found == entries_.end()) {
        return;
    }
    const auto handler = std::move(found->second.handlers.closed);
    entries_.erase(found);
    if (handler) {
        handler(reason >= 1 && reason <= 4 ? static_cast<ClosedReason>(reason)
                                           : ClosedReason::Undefined);
    }
}

}  // namespace bp
