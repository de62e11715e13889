#pragma once

#include <optional>
#include <string>
#include <string_view>
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
    // A verb for scripts after the options ("new", "list", "show", "hide", "toggle", "find",
    // "cat") and the words after it, which are the verb's own.
    std::string verb;
    std::vector<std::string> verbArguments;
    std::string error;  // not empty when the command line could not be understood
};

AppOptions parseAppOptions(const std::vector<std::string>& arguments);
bool isScriptVerb(std::string_view word);
std::string appUsage();

}  // namespace bp
