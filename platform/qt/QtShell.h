#pragma once

#include "platform/Shell.h"

namespace bp {

// xdg-open through QDesktopServices, never a shell command line.
class QtShell : public IShell {
public:
    bool open(const std::string& target) override;
};

}  // namespace bp
