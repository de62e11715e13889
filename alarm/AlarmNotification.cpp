#include "AlarmNotification.h"

#include <array>
#include <string_view>
#include <utility>

namespace bp {

namespace {

constexpr std::string_view kBlanks = " \t\r\f\v";

struct AnswerAction {
    AlarmAnswer answer;
    const char* key;
    const char* label;
};

// In the order the notification offers them.
constexpr std::array<AnswerAction, 3> kAnswerActions{{
    {AlarmAnswer::Stop, "stop", "Stop"},
    {AlarmAnswer::Snooze, "snooze", "Snooze"},
    {AlarmAnswer::ShowNote, "show", "Show note"},
}};

bool continuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The first count characters of a UTF-8 line, never cutting one in two, with an ellipsis
// where anything was left out.
std::string cutToCharacters(std::string_view line, std::size_t count) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (continuationByte(line[i])) {
            continue;
        }
        if (characters == count) {
            return std::string(line.substr(0, i)) + "\u2026";
        }
        ++characters;
    }
    return std::string(line);
}

}  // namespace

std::string leadingLines(const std::string& text, std::size_t maxLines, std::size_t maxLength) {
    std::string result;
    std::size_t taken = 0;
    std::string_view rest(text);
    while (taken < maxLines && !rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        const std::size_t first = line.find_first_not_of(kBlanks);
        if (first == std::string_view::npos) {
            continue;
        }
        line = line.substr(first, line.find_last_not_of(kBlanks) - first + 1);
        if (taken++ > 0) {
            result += '\n';
        }
        result += cutToCharacters(line, maxLength);
    }
    return result;
}

IDesktopNotifications::Notification alarmNotification(const std::string& title,
                                                      const std::string& text, bool snoozeOffered) {
    IDesktopNotifications::Notification notification;
    notification.summary = title;
    notification.body = leadingLines(text);
    for (const AnswerAction& action : kAnswerActions) {
        if (action.answer != AlarmAnswer::Snooze || snoozeOffered) {
            notification.actions.push_back({action.key, action.label});
        }
    }
    notification.urgency = IDesktopNotifications::Urgency::Critical;
    notification.resident = true;
    notification.expireTimeoutMs = 0;
    return notification;
}

std::optional<AlarmAnswer> alarmAnswerFor(const std::string& actionKey) {
    for (const AnswerAction& action : kAnswerActions) {
        if (actionKey == action.key) {
            return action.answer;
        }
    }
    return std::nullopt;
}

AlarmNotification::AlarmNotification(IDesktopNotifications* service, AnswerHandler onAnswer)
    : service_(service), onAnswer_(std::move(onAnswer)) {}

AlarmNotification::~AlarmNotification() {
    close();
}

void AlarmNotification::show(const std::string& title, const std::string& text,
                             bool snoozeOffered) {
    close();
    if (service_ == nullptr) {
        return;
    }
    IDesktopNotifications::Handlers handlers;
    handlers.actionInvoked = [this](const std::string& key) {
        if (const std::optional<AlarmAnswer> answer = alarmAnswerFor(key); answer && onAnswer_) {
            onAnswer_(*answer);
        }
    };
    // Gone from the desktop: nothing is left to take away.
    handlers.closed = [this](IDesktopNotifications::ClosedReason) { id_ = 0; };
    id_ = service_->show(alarmNotification(title, text, snoozeOffered), std::move(handlers));
}

void AlarmNotification::close() {
    if (service_ != nullptr && id_ != 0) {
        service_->close(std::exchange(id_, 0));
    }
}

}  // namespace bp
