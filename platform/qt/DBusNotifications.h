#pragma once

#include "platform/Notifications.h"

#include <QObject>
#include <QString>

#include <map>
#include <optional>

class QDBusPendingCallWatcher;

namespace bp {

// Desktop notifications through the notification server on the session bus
// (org.freedesktop.Notifications). Every call is made without waiting, so an alarm never hangs
// on a server that is slow to start or does not answer; without a session bus or a server the
// notifications are dropped quietly.
class DBusNotifications : public QObject, public IDesktopNotifications {
    Q_OBJECT
public:
    explicit DBusNotifications(QObject* parent = nullptr);

    Id show(const Notification& notification, Handlers handlers) override;
    void close(Id id) override;

    // Where the server reads mark-up in a body, the body's own '&', '<' and '>' are escaped.
    static QString escapedForMarkup(const QString& text);

private slots:
    void actionInvoked(uint serverId, const QString& actionKey);
    void notificationClosed(uint serverId, uint reason);

private:
    struct Entry {
        Notification notification;
        Handlers handlers;
        // Known once the server answered Notify.
        std::optional<uint> serverId;
        // Closed by the program before the server answered: taken away once it does.
        bool closed = false;
    };

    bool subscribe();
    void askCapabilities();
    void capabilitiesAnswered(QDBusPendingCallWatcher* watcher);
    void send(Id id);
    void notifyAnswered(Id id, QDBusPendingCallWatcher* watcher);
    void sendClose(uint serverId);
    // The notification the server knows by that number; none when it is not one of ours.
    Id idOf(uint serverId) const;

    std::map<Id, Entry> entries_;
    Id nextId_ = 1;
    bool subscribed_ = false;
    // Whether the server reads mark-up in bodies; unknown until it told its capabilities.
    std::optional<bool> bodyMarkup_;
    bool askingCapabilities_ = false;
};

}  // namespace bp
