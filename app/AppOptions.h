#pragma once

#include <optional>
#include <string>
#include <vector>

namespace bp {

// What the command line asked for.
struct AppOptions {
    std::optional<std::string> dataDir;
    bool help = false;
    bool version = false;
    // Actions for the running copy, in command-line order: "new-note", "show-all",
    // "hide-all", "toggle-manager", "save", "tray-menu", "quit", "autostart-on", "autostart-off".
    std::vector<std::string> actions;
    std::string error;  // not empty when the command line could not be understood
};

AppOptions parseAppOptions(const std::vector<std::string>& arguments);
std::string appUsage();

}  // namespace bp
