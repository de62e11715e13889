#include "AppOptions.h"

#include <algorithm>
#include <array>

namespace bp {

namespace {

constexpr std::array<const char*, 7> kActions{"new-note", "show-all",  "hide-all", "toggle-manager",
                                              "save",     "tray-menu", "quit"};
constexpr std::array<std::string_view, 7> kVerbs{"new",    "list", "show", "hide",
                                                 "toggle", "find", "cat"};

}  // namespace

bool isScriptVerb(std::string_view word) {
    return std::find(kVerbs.begin(), kVerbs.end(), word) != kVerbs.end();
}

AppOptions parseAppOptions(const std::vector<std::string>& arguments) {
    AppOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        if (arg == "--data-dir") {
            if (i + 1 >= arguments.size()) {
                options.error = "--data-dir needs a folder";
                return options;
            }
            options.dataDir = arguments[++i];
        } else if (arg.starts_with("--data-dir=")) {
            options.dataDir = arg.substr(11);
        } else if (arg == "--autostart" || arg.starts_with("--autostart=")) {
            std::string value;
            if (arg == "--autostart") {
                if (i + 1 < arguments.size()) {
                    value = arguments[++i];
                }
            } else {
                value = arg.substr(12);
            }
            if (value != "on" && value != "off") {
                options.error = "--autostart needs on or off";
                return options;
            }
            options.actions.push_back("autostart-" + value);
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (arg.starts_with("--") &&
                   std::find(kActions.begin(), kActions.end(), arg.substr(2)) != kActions.end()) {
            options.actions.push_back(arg.substr(2));
        } else if (arg.starts_with("-platform") || arg.starts_with("-display")) {
            // Qt's own options were taken off by QApplication; a leftover value is harmless.
        } else if (isScriptVerb(arg)) {
            options.verb = arg;
            options.verbArguments.assign(arguments.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                                         arguments.end());
            break;
        } else if (!arg.starts_with("-")) {
            options.error = "unknown command: " + arg;
            return options;
        } else {
            options.error = "unknown option: " + arg;
            return options;
        }
    }
    return options;
}

std::string appUsage() {
    return "Usage: brightpost [--data-dir DIR] [ACTION...]\n"
           "  or:  brightpost [--data-dir DIR] COMMAND [ARGUMENT...]\n"
           "\n"
           "Sticky notes on the desktop. Actions go to the running copy; when none runs,\n"
           "Brightpost starts first and then carries them out. Commands are for scripts:\n"
           "they go to the running copy too, and list, find and cat read the notes\n"
           "database when none runs, without changing it.\n"
           "\n"
           "Options:\n"
           "  --new-note        create a note\n"
           "  --show-all        show every note and bring them to the front\n"
           "  --hide-all        hide every note\n"
           "  --toggle-manager  show or hide the Notes Manager\n"
           "  --save            store every note and save the database\n"
           "  --tray-menu       open the tray menu at the pointer (as Ctrl+Alt+B does)\n"
           "  --quit            save and end the running copy (starts nothing)\n"
           "  --autostart on|off  start Brightpost with the desktop session, or not\n"
           "                    (an installed copy only)\n"
           "  --data-dir DIR    keep the notes database in DIR instead of\n"
           "                    $XDG_DATA_HOME/Brightpost (~/.local/share/Brightpost)\n"
           "  --help            show this help\n"
           "  --version         show the version\n"
           "\n"
           "Without an action a second start pops up the running copy's tray menu.\n"
           "\n"
           "Commands:\n"
           "  new [--title TITLE] [TEXT | -]\n"
           "                    make a note with the text (RTF makes it rich; - reads it\n"
           "                    from standard input) and print its id\n"
           "  list [--json]     print every note: id, title and state (visible, hidden,\n"
           "                    collapsed, in-bin), tab-separated, one a line; --json\n"
           "                    prints an array of objects with id, title, state, alarm\n"
           "  find [--json] TEXT  print the notes that show the text, as list does\n"
           "  show NOTE         show the note (by its id or its title)\n"
           "  hide NOTE         hide the note\n"
           "  toggle NOTE       show the note when hidden, else hide it\n"
           "  cat NOTE          print the note's text\n"
           "\n"
           "Exit status: 0 when done, 1 when refused (an unknown note, Brightpost not\n"
           "running for a command that changes notes), 2 for a command line not understood.\n";
}

}  // namespace bp
