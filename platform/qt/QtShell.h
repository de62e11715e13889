#pragma once

#include "platform/Shell.h"

namespace bp {

// Opens through the desktop's default handler (xdg-open). When BRIGHTPOST_OPENER names a
// program, that program is started with the target as its only argument instead, so a test
// session can see what would have been opened without opening anything.
class QtShell : public IShell {
public:
    bool open(const std::string& target) override;
    // Started in the user's home folder, as a desktop launcher would.
    bool startProgram(const std::vector<std::string>& command) override;
};

}  // namespace bp
