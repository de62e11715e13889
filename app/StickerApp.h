#pragma once

namespace bp {

// The whole life of the program: one running copy per user, set-up, the event loop, exit.
class CStickerApp {
public:
    // Returns the process exit code.
    int InitInstance(int& argc, char** argv);
};

}  // namespace bp
