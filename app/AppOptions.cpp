#include "AppOptions.h"

namespace bp {

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
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (arg.starts_with("-platform") || arg.starts_with("-display")) {
            // Qt's own options were taken off by QApplication; a leftover value is harmless.
        } else {
            options.error = "unknown option: " + arg;
            return options;
        }
    }
    return options;
}

std::string appUsage() {
    return "Usage: brightpost [--data-dir DIR]\n"
           "\n"
           "Sticky notes on the desktop.\n"
           "\n"
           "  --data-dir DIR  keep the notes database in DIR instead of\n"
           "                  $XDG_DATA_HOME/Brightpost (~/.local/share/Brightpost)\n"
           "  --help          show this help\n"
           "  --version       show the version\n";
}

}  // namespace bp
