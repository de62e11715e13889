#pragma once

#include "platform/Shell.h"

namespace bp {

// Opens through the desktop's default handler (xdg-open). When BRIGHTPOST_OPENER names a
// program, that program is started with the target as its only argument instead, so a test
// session can see what would have been opened without opening anything.
class QtShell : public IShell {
public:
    bool open(const std::string& target) override;
};

}  // namespace bp
