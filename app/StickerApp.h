#pragma once

#include <string>

namespace bp {

// The whole life of the program: one running copy per user, set-up, the event loop, exit.
class CStickerApp {
public:
    // Returns the process exit code.
    int InitInstance(int& argc, char** argv);
};

// The text shown when the desktop is newer than this build supports.
std::string unsupportedVersionMessage();

}  // namespace bp
