#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace bp {

// Desktop notifications: a message the desktop shows apart from the program's windows, with
// buttons the user may press in it. A notification only repeats what a window of the program
// already offers, so without a notification server nothing is shown and nobody is told.
class IDesktopNotifications {
public:
    enum class Urgency : std::uint8_t { Low = 0, Normal = 1, Critical = 2 };
    // Why the server took a notification away, in the numbers servers send.
    enum class ClosedReason : std::uint32_t {
        Expired = 1,
        DismissedByUser = 2,
        ClosedByProgram = 3,
        Undefined = 4
    };

    struct Action {
        std::string key;    // what the handler is told
        std::string label;  // what the user reads
        bool operator==(const Action&) const = default;
    };
    struct Notification {
        std::string summary;
        // Plain text: where the server reads mark-up, the service escapes it.
        std::string body;
        std::vector<Action> actions;
        Urgency urgency = Urgency::Normal;
        // Stays shown after one of its actions was pressed.
        bool resident = false;
        // -1 leaves it to the server; 0 never expires.
        int expireTimeoutMs = -1;
    };
    struct Handlers {
        std::function<void(const std::string& actionKey)> actionInvoked;
        std::function<void(ClosedReason)> closed;
    };
    // The program's own number for a notification; 0 is none.
    using Id = std::uint64_t;

    virtual ~IDesktopNotifications() = default;
    // Shows a notification; its handlers run until it is closed, by either side. 0 when no
    // server can be reached at all.
    virtual Id show(const Notification& notification, Handlers handlers) = 0;
    // Takes it away; its handlers run no more. Ids already closed are ignored.
    virtual void close(Id id) = 0;
};

}  // namespace bp
