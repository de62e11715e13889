#pragma once

#include <string>

namespace bp {

// Switching the computer off for an alarm: the desktop's power service is asked whether this
// user may, then asked to do it. Tests stand a fake in; nothing ever powers a test machine off.
class IPowerOff {
public:
    virtual ~IPowerOff() = default;
    // False when the service says no, cannot be reached, or answers nothing usable.
    virtual bool canPowerOff() = 0;
    // False when the request was refused or could not be made.
    virtual bool powerOff() = 0;
    // Why the last canPowerOff or powerOff said no, in words a user can act on.
    virtual std::string problem() const = 0;
};

}  // namespace bp
