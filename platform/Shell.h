#pragma once

#include <string>
#include <vector>

namespace bp {

// The desktop's "open" verb: a web or mailto address, a document or a program, handed to
// whatever the user's desktop runs for it. Never through a shell command line.
class IShell {
public:
    virtual ~IShell() = default;
    // True when the request was handed over; what the opener then does is not reported back.
    virtual bool open(const std::string& target) = 0;
    // Starts the program command[0] with the rest as its arguments, detached and without a
    // shell, so nothing in them is read as shell syntax. True when the program started.
    virtual bool startProgram(const std::vector<std::string>& command) = 0;
};

}  // namespace bp
