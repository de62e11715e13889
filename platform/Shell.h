#pragma once

#include <string>

namespace bp {

// The desktop's "open" verb: a web or mailto address, a document or a program, handed to
// whatever the user's desktop runs for it. Never through a shell command line.
class IShell {
public:
    virtual ~IShell() = default;
    // True when the request was handed over; what the opener then does is not reported back.
    virtual bool open(const std::string& target) = 0;
};

}  // namespace bp
