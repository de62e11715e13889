#include "NamedActions.h"

#include "platform/Messages.h"

#include <QList>

#include <algorithm>
#include <iterator>
#include <utility>

namespace bp {

namespace {

struct NamedAction {
    std::string_view name;
    void (*run)(IActionTarget& target);
};

// By the name of its command-line option; a new action is a line here.
constexpr NamedAction kNamedActions[] = {
    {"new-note", [](IActionTarget& target) { target.onHotKey(hotkey::NEW_NOTE); }},
    {"show-all", [](IActionTarget& target) { target.onHotKey(hotkey::SHOW_ALL); }},
    {"hide-all", [](IActionTarget& target) { target.onHotKey(hotkey::HIDE_ALL); }},
    {"toggle-manager", [](IActionTarget& target) { target.onHotKey(hotkey::TOGGLE_MANAGER); }},
    {"tray-menu", [](IActionTarget& target) { target.onHotKey(hotkey::TRAY_MENU); }},
    {"save", [](IActionTarget& target) { target.saveAllNotesUnlessBusy(); }},
    {"autostart-on", [](IActionTarget& target) { target.setAutostart(true); }},
    {"autostart-off", [](IActionTarget& target) { target.setAutostart(false); }},
    {"quit", [](IActionTarget& target) { target.requestEnd(); }},
};

const NamedAction* findAction(std::string_view name) {
    const auto found = std::find_if(std::begin(kNamedActions), std::end(kNamedActions),
                                    [name](const NamedAction& a) { return a.name == name; });
    return found != std::end(kNamedActions) ? found : nullptr;
}

}  // namespace

bool NamedActions::exists(std::string_view name) {
    return findAction(name) != nullptr;
}

NamedActions::Request NamedActions::parse(const QByteArray& request) {
    const bool text =
        std::all_of(request.begin(), request.end(), [](char c) { return c >= 0x20 && c < 0x7f; });
    if (!text) {
        return {{}, "not a line of text"};
    }
    const QList<QByteArray> words = request.split(' ');
    if (words.size() != 2 || words[0] != "action") {
        return {{}, "not an action (\"action <name>\")"};
    }
    std::string name = words[1].toStdString();
    if (!exists(name)) {
        return {{}, "unknown action"};
    }
    return {std::move(name), {}};
}

bool NamedActions::perform(const std::string& name) {
    const NamedAction* action = findAction(name);
    if (action == nullptr) {
        return false;
    }
    if (!target_.takesActions() && name != "quit") {
        held_.push_back(name);
        return true;
    }
    action->run(target_);
    return true;
}

std::vector<std::string> NamedActions::takeHeld() {
    return std::exchange(held_, {});
}

}  // namespace bp
