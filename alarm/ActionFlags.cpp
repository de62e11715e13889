#include "alarm/ActionFlags.h"

namespace bp {

ActionFlags DecodeActionFlags(int remindAction) {
    ActionFlags flags{};
    for (std::size_t i = 0; i < flags.size(); ++i) {
        flags[i] = (remindAction & (1 << i)) != 0;
    }
    return flags;
}

bool AnyAction(const ActionFlags& flags) {
    for (bool f : flags) {
        if (f) {
            return true;
        }
    }
    return false;
}

int EncodeActionFlags(const ActionFlags& flags) {
    if (!AnyAction(flags)) {
        return 3;
    }
    int value = 0;
    if (flags[action::PopUpAndFlash] || flags[action::Flash]) {
        value |= 3;
    }
    for (std::size_t i = action::Read; i < flags.size(); ++i) {
        if (flags[i]) {
            value |= 1 << i;
        }
    }
    return value;
}

std::string CheckAlarmActions(AlarmActionsChoice& choice) {
    if (!AnyAction(choice.flags)) {
        return "No alarm actions selected\nPlease select an action";
    }
    if (choice.flags[action::Play] && choice.soundFile.empty()) {
        choice.flags[action::Play] = false;
        return "Please select a file for playing";
    }
    if (choice.flags[action::OpenUrl] && choice.url.empty()) {
        choice.flags[action::OpenUrl] = false;
        return "Please enter any url";
    }
    if (choice.flags[action::OpenProgram] && choice.program.empty()) {
        choice.flags[action::OpenProgram] = false;
        return "Please select a program or file to open";
    }
    return {};
}

bool OpensAsWebAddress(const std::string& address) {
    return address.starts_with("http://") || address.starts_with("https://");
}

}  // namespace bp
